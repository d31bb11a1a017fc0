#include "HostSession.h"

namespace zeltra::host {

HostSession::HostSession(LogDatabase& log, PluginModule& plugin, const Station& station)
    : log_(log), plugin_(plugin) {
  record_
      .SetConnection(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(log.connection())))
      .Set(QsoField::TableName, kLogTable)
      .Set(QsoField::TitleSuffix, station.titleSuffix)
      .Set(QsoField::MyContinent, station.continent)
      .Set(QsoField::MyDXCCPrefix, station.dxccPrefix);
}

std::string HostSession::PluginName() {
  unsigned char info[kPluginInfoSize] = {};
  plugin_.GetInfo(reinterpret_cast<TPluginInfo*>(info));
  return ReadShortString(info);
}

HWND HostSession::Run() {
  return plugin_.Run(0, record_.data());
}

void HostSession::Fill(const LogRow& contact) {
  record_.Set(QsoField::CallSign, contact.callSign)
      .Set(QsoField::Band, contact.band)
      .Set(QsoField::Mode, contact.mode)
      .Set(QsoField::Continent, contact.continent)
      .Set(QsoField::DXCCPrefix, contact.dxccPrefix)
      .Set(QsoField::MainPrefix, contact.mainPrefix)
      .Set(QsoField::ReportReceived, contact.report);
}

int HostSession::Preview(const LogRow& contact) {
  Fill(contact);
  return plugin_.GetScore(record_.data());
}

std::string HostSession::SuggestedExchange(const LogRow& contact) {
  Fill(contact);
  unsigned char answer[kShortStringSize] = {};
  plugin_.GrabNumber(record_.data(), answer);
  return ReadShortString(answer);
}

int HostSession::Log(const LogRow& contact) {
  Fill(contact);
  log_.Insert({contact}, kLogTable);
  return plugin_.AddQSO(record_.data());
}

std::string ScoreText(int score) {
  return score == -1 ? "DUPE" : std::to_string(score);
}

}  // namespace zeltra::host
