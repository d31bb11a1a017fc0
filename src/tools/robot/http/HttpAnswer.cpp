#include "tools/robot/http/HttpAnswer.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace zeltra::robot {
namespace {

constexpr std::size_t kAnswerBlock = 32 * 1024;

using SharedBody = std::shared_ptr<const std::string>;

ssize_t ReadShared(void* state, std::uint64_t at, char* buffer, std::size_t room) {
  const std::string& body = **static_cast<SharedBody*>(state);
  if (at >= body.size()) return MHD_CONTENT_READER_END_OF_STREAM;
  const std::size_t count = std::min(room, body.size() - static_cast<std::size_t>(at));
  std::memcpy(buffer, body.data() + at, count);
  return static_cast<ssize_t>(count);
}

void FreeShared(void* state) {
  const std::unique_ptr<SharedBody> gone(static_cast<SharedBody*>(state));
}

MHD_Result Queue(MHD_Connection* connection, int status, MHD_Response* response,
                 const std::string& type, const HttpHeaders& headers) {
  if (response == nullptr) return MHD_NO;
  for (const auto& [name, value] : SafeHeaders())
    MHD_add_response_header(response, name.c_str(), value.c_str());
  for (const auto& [name, value] : headers)
    MHD_add_response_header(response, name.c_str(), value.c_str());
  MHD_add_response_header(response, "Content-Type", type.c_str());
  const MHD_Result queued = MHD_queue_response(connection, static_cast<unsigned>(status), response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

const HttpHeaders& SafeHeaders() {
  static const HttpHeaders headers = {
      {"Content-Security-Policy",
       "default-src 'none'; style-src 'unsafe-inline'; img-src data:; form-action 'self'; "
       "frame-ancestors 'none'; base-uri 'none'"},
      {"X-Content-Type-Options", "nosniff"},
      {"Referrer-Policy", "no-referrer"},
      {"X-Frame-Options", "DENY"},
  };
  return headers;
}

MHD_Result Answer(MHD_Connection* connection, int status, const std::string& type,
                  const std::string& body, const HttpHeaders& headers) {
  MHD_Response* response = MHD_create_response_from_buffer(
      body.size(), const_cast<char*>(body.data()), MHD_RESPMEM_MUST_COPY);
  return Queue(connection, status, response, type, headers);
}

MHD_Result AnswerShared(MHD_Connection* connection, int status, const std::string& type,
                        std::shared_ptr<const std::string> body, const HttpHeaders& headers) {
  const std::size_t size = body->size();
  auto held = std::make_unique<SharedBody>(std::move(body));
  MHD_Response* response =
      MHD_create_response_from_callback(size, kAnswerBlock, &ReadShared, held.get(), &FreeShared);
  if (response != nullptr) held.release();  // the response frees it
  return Queue(connection, status, response, type, headers);
}

}  // namespace zeltra::robot
