#pragma once

#include <array>
#include <random>
#include <string>
#include <vector>

#include "core/records/HostRecords.h"
#include "core/scoring/Contact.h"

namespace zeltra::bench {

// The host's record of contact, as the host fills it before a call.
inline void LoadInto(const Contact& contact, TQSOData& record) {
  record.CallSign.assign(contact.callSign);
  record.Band.assign(contact.band);
  record.Mode.assign(contact.mode);
  record.Continent.assign(contact.continent);
  record.DXCCPrefix.assign(contact.dxccPrefix);
  record.ReportReceived.assign(contact.reportReceived);
}

// A contest log's worth of distinct contacts: call signs of many countries,
// nine bands, two modes, Polish stations sending voivodeship letters.
inline std::vector<Contact> MakeContactMix(std::size_t count, unsigned seed) {
  struct Country {
    const char* prefix;
    const char* continent;
  };
  static constexpr std::array<Country, 12> kCountries = {{{"SP", "EU"},
                                                          {"SN", "EU"},
                                                          {"DL", "EU"},
                                                          {"G", "EU"},
                                                          {"UA", "EU"},
                                                          {"K", "NA"},
                                                          {"VE", "NA"},
                                                          {"JA", "AS"},
                                                          {"BY", "AS"},
                                                          {"VK", "OC"},
                                                          {"PY", "SA"},
                                                          {"ZS", "AF"}}};
  static constexpr std::array<const char*, 9> kBands = {"1.8", "3.5", "7",  "10", "14",
                                                        "18",  "21",  "24", "28"};
  static constexpr char kLetters[] = "BCDFGJKLMOPRSUWZ";

  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> country(0, kCountries.size() - 1);
  std::uniform_int_distribution<std::size_t> band(0, kBands.size() - 1);
  std::uniform_int_distribution<int> letter(0, 25);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<std::size_t> voivodeship(0, 15);

  std::vector<Contact> contacts;
  contacts.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const Country& c = kCountries[country(random)];
    Contact contact;
    contact.callSign = std::string(c.prefix) + static_cast<char>('0' + digit(random));
    for (int k = 0; k < 3; ++k) contact.callSign += static_cast<char>('A' + letter(random));
    // The index makes every contact distinct, as a long log's are.
    contact.callSign += '/';
    contact.callSign += std::to_string(i);
    contact.band = kBands[band(random)];
    contact.mode = i % 5 == 0 ? "CW" : "RTTY";
    contact.continent = c.continent;
    contact.dxccPrefix = c.prefix;
    contact.reportReceived = "599 ";
    if (contact.dxccPrefix[0] == 'S')
      contact.reportReceived += kLetters[voivodeship(random)];
    else
      contact.reportReceived += std::to_string(i % 1000);
    contacts.push_back(std::move(contact));
  }
  return contacts;
}

}  // namespace zeltra::bench
