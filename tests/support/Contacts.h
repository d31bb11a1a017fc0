#pragma once

#include <string_view>

#include "core/host/HostRecords.h"

namespace zeltra::testing {

// What a test says about one contact; the operator is SP in EU unless told.
struct Contact {
  std::string_view callSign;
  std::string_view band = "14";
  std::string_view mode = "RTTY";
  std::string_view continent = "EU";
  std::string_view dxccPrefix = "DL";
  std::string_view report = "599";
  std::string_view myContinent = "EU";
  std::string_view myDxccPrefix = "SP";
};

// Overwrites the contact fields of record, as an entry point's copy does.
inline void Load(TQSOData& record, const Contact& contact) {
  record.CallSign.assign(contact.callSign);
  record.Band.assign(contact.band);
  record.Mode.assign(contact.mode);
  record.Continent.assign(contact.continent);
  record.DXCCPrefix.assign(contact.dxccPrefix);
  record.ReportReceived.assign(contact.report);
  record.MyContinent.assign(contact.myContinent);
  record.MyDXCCPrefix.assign(contact.myDxccPrefix);
}

}  // namespace zeltra::testing
