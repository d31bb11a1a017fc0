#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/robot/store/KeptLog.h"

namespace zeltra::robot {

// The robot's pages as HTML, every text from a log escaped; and its
// answers as JSON (nlohmann-json).
// What the form tells an entrant: the largest log, the contest period and
// the deadline (UTC, "2026-12-05 00:00"), and whether the robot is closed.
struct FormFacts {
  std::size_t maxBytes = 0;
  std::string from;
  std::string to;
  std::optional<std::string> deadline;
  bool closed = false;
};
std::string FormPage(const FormFacts& facts);
// A receipt, accepted or held, with its key.
std::string ReceiptPage(const Receipt& receipt, const std::vector<std::string>& warnings);
std::string RefusalPage(int status, const std::vector<std::string>& errors);
// The list grows with the logs: it is written as it is made, row by row.
std::string ReceivedPageHead(std::size_t count);
std::string ReceivedPageRow(const KeptLog& log);
std::string ReceivedPageTail();
void WriteReceivedPage(std::ostream& out, const std::vector<KeptLog>& logs);
// A page for an address the robot has no page at.
std::string NotFoundPage();

std::string ReceiptJson(const Receipt& receipt, const std::vector<std::string>& warnings);
std::string RefusalJson(const std::vector<std::string>& errors);
std::string ReceivedJsonHead();
// The row, after the one before it if first is false.
std::string ReceivedJsonRow(const KeptLog& log, bool first);
std::string ReceivedJsonTail(bool empty);
void WriteReceivedJson(std::ostream& out, const std::vector<KeptLog>& logs);

}  // namespace zeltra::robot
