// A small console host: loads Zeltra.dll beside it, feeds a handful of
// contacts the way a logging program does and prints what the plug-in
// answers, then releases and unloads it.

#include <windows.h>

#include <cstdio>
#include <string>

#include "PluginModule.h"
#include "QsoRecord.h"

using zeltra::host::PluginModule;
using zeltra::host::QsoField;
using zeltra::host::QsoRecord;

namespace {

constexpr int kScoreLineId = 1001;  // the statistics window's score line

struct SampleContact {
  const char* callSign;
  const char* band;
  const char* continent;
  const char* dxccPrefix;
  const char* report;
};

constexpr SampleContact kContacts[] = {
    {"SP9ABC", "14", "EU", "SP", "599K"},  {"DL1AAA", "14", "EU", "DL", "599 001"},
    {"W1AW", "14", "NA", "K", "599 002"},  {"SP9ABC", "21", "EU", "SP", "599K"},
    {"JA1XYZ", "21", "AS", "JA", "599 3"}, {"SP9ABC", "14", "EU", "SP", "599K"},
    {"SN7XYZ", "7", "EU", "SP", "599 B"},  {"VK2AB", "10", "OC", "VK", "599"},
};

QsoRecord OwnStation() {
  QsoRecord record;
  record.Set(QsoField::TableName, "QSO")
      .Set(QsoField::TitleSuffix, "demo")
      .Set(QsoField::MyContinent, "EU")
      .Set(QsoField::MyDXCCPrefix, "SP")
      .Set(QsoField::Mode, "RTTY");
  return record;
}

std::string ScoreLine(HWND window) {
  char text[256] = {};
  GetDlgItemTextA(window, kScoreLineId, text, static_cast<int>(sizeof text));
  return text;
}

}  // namespace

int main() {
  try {
    PluginModule plugin(L"Zeltra.dll");
    unsigned char info[zeltra::host::kPluginInfoSize] = {};
    plugin.GetInfo(info);
    std::printf("Plug-in: %s\n", zeltra::host::ReadShortString(info).c_str());

    QsoRecord record = OwnStation();
    HWND window = plugin.Run(0, record.data());
    zeltra::host::PumpMessages();

    for (const SampleContact& contact : kContacts) {
      record.Set(QsoField::CallSign, contact.callSign)
          .Set(QsoField::Band, contact.band)
          .Set(QsoField::Continent, contact.continent)
          .Set(QsoField::DXCCPrefix, contact.dxccPrefix)
          .Set(QsoField::ReportReceived, contact.report);
      unsigned char exchange[zeltra::host::kShortStringSize] = {};
      plugin.GrabNumber(record.data(), exchange);
      const int preview = plugin.GetScore(record.data());
      const int recorded = plugin.AddQSO(record.data());
      zeltra::host::PumpMessages();
      std::printf("%-8s %-4s prefill %-3s score %3d added %3d\n", contact.callSign, contact.band,
                  zeltra::host::ReadShortString(exchange).c_str(), preview, recorded);
    }
    std::printf("%s\n", ScoreLine(window).c_str());

    plugin.Release();
    zeltra::host::PumpMessages();
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "demo host: %s\n", error.what());
    return 1;
  }
}
