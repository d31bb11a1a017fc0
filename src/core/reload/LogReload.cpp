#include "core/reload/LogReload.h"

#include <string>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

// The row as a contact. The columns are read in this order, MainPrefix
// too: a log without it is no log of the host's, and says so.
Contact ContactOf(const LogQuery& query) {
  Contact contact;
  contact.reportReceived = query.FieldAsText("QSOReportRecived");
  contact.dxccPrefix = query.FieldAsText("DXCCPrefix");
  query.FieldAsText("MainPrefix");
  contact.callSign = query.FieldAsText("CallSign");
  contact.band = query.FieldAsText("DigiBand");
  contact.mode = query.FieldAsText("QSOMode");
  contact.continent = AsciiUpper(query.FieldAsText("Continent"));
  return contact;
}

}  // namespace

void ReloadLog(LogQuery& query, std::string_view tableName, const OwnStation& own, Scorer& scorer,
               StatisticTable& table, const ReloadHooks& hooks) {
  table.BlankData();
  scorer.Clear();

  // Closed also when a row fails: an open cursor could hold a read lock
  // on the host's log and keep the host from saving contacts.
  struct CloseWhenDone {
    LogQuery& query;
    ~CloseWhenDone() { query.Close(); }
  } closeWhenDone{query};

  query.Close();
  query.Open("Select * from " + query.TableReference(tableName) + " order by CallSign");
  if (hooks.pumpMessages) hooks.pumpMessages();

  // A recalculation run by a message at the pump point closes the query; the
  // closed query stands at its end and no further row is read here.
  while (!query.Eof()) {
    const Contact contact = ContactOf(query);
    const std::int32_t result = scorer.Record(contact, own);
    if (hooks.replayed) hooks.replayed(contact, result);
    query.Next();
  }
}

}  // namespace zeltra
