#pragma once

#include <cstddef>
#include <cstdint>

#include "core/records/ShortString.h"

namespace zeltra {

// The two fixed-layout records exchanged with the host. Integers are 32-bit
// little-endian; every text is a ShortString. Bytes this plug-in does not
// interpret are kept as opaque filler so the records match the host's byte
// for byte.
#pragma pack(push, 1)

struct TPluginInfo {
  ShortString Name;
  std::int32_t Number1;  // meaning belongs to the host; always 1
  ShortString Kind;
  std::int32_t Number2;  // meaning belongs to the host; always 1
};

struct TQSOData {
  std::uint32_t Connection;  // the host's open ODBC connection (SQLHDBC)
  unsigned char Unused4[8];
  ShortString TableName;
  ShortString CallSign;
  unsigned char Unused524[16];
  ShortString Band;
  ShortString Mode;
  ShortString Continent;
  ShortString ReportReceived;
  unsigned char Unused1564[768];
  ShortString MainPrefix;
  ShortString DXCCPrefix;
  unsigned char Unused2844[1024];
  ShortString TitleSuffix;
  ShortString MyContinent;
  unsigned char Unused4380[256];
  ShortString MyDXCCPrefix;
  unsigned char Unused4892[1024];
};

#pragma pack(pop)

static_assert(sizeof(TPluginInfo) == 520);
static_assert(offsetof(TPluginInfo, Name) == 0);
static_assert(offsetof(TPluginInfo, Number1) == 256);
static_assert(offsetof(TPluginInfo, Kind) == 260);
static_assert(offsetof(TPluginInfo, Number2) == 516);

static_assert(sizeof(TQSOData) == 5916);
static_assert(offsetof(TQSOData, Connection) == 0);
static_assert(offsetof(TQSOData, TableName) == 12);
static_assert(offsetof(TQSOData, CallSign) == 268);
static_assert(offsetof(TQSOData, Band) == 540);
static_assert(offsetof(TQSOData, Mode) == 796);
static_assert(offsetof(TQSOData, Continent) == 1052);
static_assert(offsetof(TQSOData, ReportReceived) == 1308);
static_assert(offsetof(TQSOData, MainPrefix) == 2332);
static_assert(offsetof(TQSOData, DXCCPrefix) == 2588);
static_assert(offsetof(TQSOData, TitleSuffix) == 3868);
static_assert(offsetof(TQSOData, MyContinent) == 4124);
static_assert(offsetof(TQSOData, MyDXCCPrefix) == 4636);

// Fills a host-supplied TPluginInfo. Only the two integers and the length
// byte and characters of each text are written, in the order integer, Name,
// Kind, integer; every other byte keeps what the host's buffer held.
void DescribePlugin(unsigned char* info);

}  // namespace zeltra
