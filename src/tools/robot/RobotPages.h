#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/robot/store/KeptLog.h"

namespace zeltra::robot {

// The robot's pages as HTML, every text from a log escaped; and its
// answers as JSON (nlohmann-json).
std::string FormPage(std::size_t maxBytes);
// A receipt, accepted or held, with its key.
std::string ReceiptPage(const Receipt& receipt, const std::vector<std::string>& warnings);
std::string RefusalPage(int status, const std::vector<std::string>& errors);
// The list grows with the logs: it is written as it is made.
void WriteReceivedPage(std::ostream& out, const std::vector<KeptLog>& logs);

std::string ReceiptJson(const Receipt& receipt, const std::vector<std::string>& warnings);
std::string RefusalJson(const std::vector<std::string>& errors);
void WriteReceivedJson(std::ostream& out, const std::vector<KeptLog>& logs);

}  // namespace zeltra::robot
