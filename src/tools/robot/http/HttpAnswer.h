#pragma once

#include <microhttpd.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zeltra::robot {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

// Every answer carries these: no page runs a script, is framed, sniffed for
// another type, or tells another site where its reader came from.
const HttpHeaders& SafeHeaders();

// Queues an answer whole: its status, type, body and headers beyond
// SafeHeaders().
MHD_Result Answer(MHD_Connection* connection, int status, const std::string& type,
                  const std::string& body, const HttpHeaders& headers);

// Queues an answer whose body is shared with other answers, never copied:
// each holds it until its client has read it.
MHD_Result AnswerShared(MHD_Connection* connection, int status, const std::string& type,
                        std::shared_ptr<const std::string> body, const HttpHeaders& headers);

}  // namespace zeltra::robot
