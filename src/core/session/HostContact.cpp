#include "core/session/HostContact.h"

namespace zeltra {

Contact ContactOf(const TQSOData& record) {
  return {.callSign = record.CallSign.str(),
          .band = record.Band.str(),
          .mode = record.Mode.str(),
          .continent = record.Continent.str(),
          .dxccPrefix = record.DXCCPrefix.str(),
          .reportReceived = record.ReportReceived.str()};
}

OwnStation OwnStationOf(const TQSOData& record) {
  return {.continent = record.MyContinent.str(), .dxccPrefix = record.MyDXCCPrefix.str()};
}

LogSource LogSourceOf(const TQSOData& record) {
  return {.tableName = record.TableName.str(),
          .station = OwnStationOf(record),
          .band = record.Band.str()};
}

}  // namespace zeltra
