#include "core/reload/LogReload.h"

#include <string>

#include "core/text/Ascii.h"

namespace zeltra {
namespace {

void CopyRow(const LogQuery& query, TQSOData& current) {
  current.ReportReceived.assign(query.FieldAsText("QSOReportRecived"));
  current.DXCCPrefix.assign(query.FieldAsText("DXCCPrefix"));
  current.MainPrefix.assign(query.FieldAsText("MainPrefix"));
  current.CallSign.assign(query.FieldAsText("CallSign"));
  current.Band.assign(query.FieldAsText("DigiBand"));
  current.Mode.assign(query.FieldAsText("QSOMode"));
  current.Continent.assign(AsciiUpper(query.FieldAsText("Continent")));
}

}  // namespace

void ReloadLog(TQSOData& current, LogQuery& query, Scorer& scorer, StatisticTable& table,
               const ReloadHooks& hooks) {
  const std::string band = current.Band.str();
  table.BlankData();
  scorer.Clear();
  if (hooks.showDXList) hooks.showDXList();

  // Closed also when a row fails: an open cursor could hold a read lock
  // on the host's log and keep the host from saving contacts.
  struct CloseWhenDone {
    LogQuery& query;
    ~CloseWhenDone() { query.Close(); }
  } closeWhenDone{query};

  query.Close();
  query.Open("Select * from " + query.TableReference(current.TableName.view()) +
             " order by CallSign");
  if (hooks.pumpMessages) hooks.pumpMessages();

  // A recalculation run by a message at the pump point closes the query; the
  // closed query stands at its end and no further row is read here.
  while (!query.Eof()) {
    CopyRow(query, current);
    scorer.ScoreQSO(true);
    query.Next();
  }
  query.Close();
  current.Band.assign(band);
}

}  // namespace zeltra
