/*
 * Zeltra.dll, the Zeltra RTTY Contest scoring plug-in: the interface a
 * logging program (the host) uses. C, 32-bit Windows (x86), __stdcall.
 *
 * Call order
 *   1. LoadLibrary("Plugins\\Zeltra.dll"), then GetProcAddress of the six
 *      names below, undecorated.
 *   2. _GetInfo(&info): the plug-in's name and kind.
 *   3. _Run(0, &data): creates the statistics window on the first call and
 *      shows it; returns its HWND. Its first showing reads the whole log
 *      table before _Run returns. Later calls only show the same window;
 *      they do not rebind the connection nor copy the record.
 *   4. For each contact: _GetScore (preview, records nothing), _GrabNumber
 *      (suggested exchange) and, when the contact is saved, _AddQSO.
 *   5. _Release() once: it saves both windows' settings; then keep
 *      dispatching messages a moment (the windows are destroyed once their
 *      queued messages have run) and FreeLibrary. Unloading earlier is
 *      safe: the windows go with the DLL, and their destruction then does
 *      no file work (without _Release, the settings are not saved).
 *   Call everything on the thread that runs your message loop, and keep
 *   dispatching messages: the plug-in's two windows live on that thread.
 *
 * The records are copied on entry and never written. Every text is a short
 * string: byte 0 is the length (0-255), bytes 1..length the characters.
 *
 * Connection: your open ODBC connection handle (SQLHDBC) to the log
 * database. It must stay connected until _Release returns. The plug-in
 * allocates and frees a statement of its own on it for each reload; it
 * never writes to the database, disconnects or frees the connection. The
 * reload runs
 *     Select * from <TableName> order by CallSign
 * with TableName as it is when it is a plain name (a letter or "_", then
 * letters, digits and "_"), a dotted name of such parts (dbo.QSO), or
 * already quoted; any other name (My Log, a-b, a reserved word such as
 * Order) is quoted with the driver's identifier quote character
 * (SQLGetInfo SQL_IDENTIFIER_QUOTE_CHAR), so it names one table. It reads the columns CallSign, DigiBand, QSOMode, Continent,
 * QSOReportRecived (spelled so), DXCCPrefix and MainPrefix as text (NULL
 * reads as empty). DigiBand and Band hold the band in megahertz as text:
 * "1.8", "3.5", "7", "10", "14", "18", "21", "24", "28".
 *
 * Results of _GetScore and _AddQSO: 2, 5 or 10 points; -1 for a duplicate
 * (same call sign, band and mode, compared byte for byte); 0 when there is
 * no statistics window (before _Run, after _Release).
 */
#ifndef ZELTRA_PLUGIN_H
#define ZELTRA_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#define ZELTRA_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define ZELTRA_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

typedef unsigned char ZeltraShortString[256];

#pragma pack(push, 1)

/* Filled by _GetInfo: only the two integers and the length byte and
   characters of each text are written. */
typedef struct TPluginInfo {
  ZeltraShortString Name; /* "Zeltra RTTY Contest" */
  int32_t Number1;        /* always 1 */
  ZeltraShortString Kind; /* "kavrel_contest" */
  int32_t Number2;        /* always 1 */
} TPluginInfo;

/* The contact and the operator's station. Bytes not named here are yours;
   the plug-in carries them along unread. */
typedef struct TQSOData {
  uint32_t Connection; /* SQLHDBC of your open log database */
  unsigned char Reserved4[8];
  ZeltraShortString TableName; /* the log table */
  ZeltraShortString CallSign;  /* the worked station */
  unsigned char Reserved524[16];
  ZeltraShortString Band;           /* "14" */
  ZeltraShortString Mode;           /* "RTTY" */
  ZeltraShortString Continent;      /* the worked station's, "EU" */
  ZeltraShortString ReportReceived; /* the exchange received, "599 K" */
  unsigned char Reserved1564[768];
  ZeltraShortString MainPrefix; /* read by nobody */
  ZeltraShortString DXCCPrefix; /* the worked station's DXCC prefix */
  unsigned char Reserved2844[1024];
  ZeltraShortString TitleSuffix; /* shown after "in" in the window's caption */
  ZeltraShortString MyContinent; /* the operator's continent */
  unsigned char Reserved4380[256];
  ZeltraShortString MyDXCCPrefix; /* the operator's DXCC prefix */
  unsigned char Reserved4892[1024];
} TQSOData;

#pragma pack(pop)

ZELTRA_STATIC_ASSERT(sizeof(TPluginInfo) == 520, "TPluginInfo is 520 bytes");
ZELTRA_STATIC_ASSERT(offsetof(TPluginInfo, Number1) == 256, "Number1 at 256");
ZELTRA_STATIC_ASSERT(offsetof(TPluginInfo, Kind) == 260, "Kind at 260");
ZELTRA_STATIC_ASSERT(offsetof(TPluginInfo, Number2) == 516, "Number2 at 516");
ZELTRA_STATIC_ASSERT(sizeof(TQSOData) == 5916, "TQSOData is 5916 bytes");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, TableName) == 12, "TableName at 12");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, CallSign) == 268, "CallSign at 268");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, Band) == 540, "Band at 540");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, Mode) == 796, "Mode at 796");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, Continent) == 1052, "Continent at 1052");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, ReportReceived) == 1308, "ReportReceived at 1308");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, MainPrefix) == 2332, "MainPrefix at 2332");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, DXCCPrefix) == 2588, "DXCCPrefix at 2588");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, TitleSuffix) == 3868, "TitleSuffix at 3868");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, MyContinent) == 4124, "MyContinent at 4124");
ZELTRA_STATIC_ASSERT(offsetof(TQSOData, MyDXCCPrefix) == 4636, "MyDXCCPrefix at 4636");

#ifdef _WIN32
#include <windows.h>
#define ZELTRA_API __stdcall
typedef void(ZELTRA_API* ZeltraGetInfo)(TPluginInfo* info);
typedef HWND(ZELTRA_API* ZeltraRun)(int32_t reserved, const TQSOData* data);
typedef int32_t(ZELTRA_API* ZeltraGetScore)(const TQSOData* data);
typedef int32_t(ZELTRA_API* ZeltraAddQSO)(const TQSOData* data);
/* answer: your 256-byte short string; empty when nothing is known. */
typedef void(ZELTRA_API* ZeltraGrabNumber)(const TQSOData* data, unsigned char* answer);
typedef void(ZELTRA_API* ZeltraRelease)(void);
#endif

#ifdef __cplusplus
}
#endif

#endif /* ZELTRA_PLUGIN_H */
