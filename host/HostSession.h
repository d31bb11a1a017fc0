#pragma once

// What the reference host keeps while it runs: its log, the loaded
// plug-in, and the record it fills for each contact.

#include <windows.h>

#include <string>

#include "LogDatabase.h"
#include "PluginModule.h"
#include "QsoRecord.h"

namespace zeltra::host {

// The operator's own station, from the command line.
struct Station {
  std::string continent = "EU";
  std::string dxccPrefix = "SP";
  std::string titleSuffix = "SP9DEMO";
};

inline constexpr char kLogTable[] = "QSO";

class HostSession {
 public:
  HostSession(LogDatabase& log, PluginModule& plugin, const Station& station);

  std::string PluginName();
  HWND Run();

  // Fills the record with a contact and asks the plug-in about it.
  int Preview(const LogRow& contact);
  std::string SuggestedExchange(const LogRow& contact);
  // Stores the contact in the log, duplicates too, as a logging program
  // does, and tells the plug-in: answers _AddQSO's result.
  int Log(const LogRow& contact);

 private:
  void Fill(const LogRow& contact);

  LogDatabase& log_;
  PluginModule& plugin_;
  QsoRecord record_;
};

// The text an operator reads for a score: "DUPE" for -1.
std::string ScoreText(int score);

}  // namespace zeltra::host
