#include "tools/robot/RobotServer.h"

#include <sys/socket.h>

#include <ctime>
#include <memory>

#include "tools/robot/PortSockets.h"
#include "tools/robot/RobotPages.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/WatchedPool.h"

namespace zeltra::robot {
namespace {

constexpr int kOk = 200;
constexpr int kBadRequest = 400;
constexpr int kForbidden = 403;
constexpr int kTooMany = 429;
constexpr int kUnavailable = 503;
// What a form's own parts add to the file it carries.
constexpr std::size_t kFormOverhead = 64 * 1024;
constexpr std::int64_t kSecondsPerMinute = 60;

bool WantsJson(const httplib::Request& request) {
  return request.get_header_value("Accept").find("application/json") != std::string::npos;
}

void Refuse(const httplib::Request& request, httplib::Response& response, int status,
            const std::vector<std::string>& errors) {
  response.status = status;
  if (WantsJson(request))
    response.set_content(RefusalJson(errors), "application/json");
  else
    response.set_content(RefusalPage(status, errors), "text/html; charset=utf-8");
}

// An answer written to the client as it is made, in chunks.
template <typename Write>
void Stream(httplib::Response& response, const char* type, Write write) {
  response.set_chunked_content_provider(
      type, [write = std::move(write)](std::size_t, httplib::DataSink& sink) {
        write(sink.os);
        sink.done();
        return true;
      });
}

}  // namespace

RobotServer::RobotServer(RobotSettings settings, const CountryFile* countries)
    : settings_(std::move(settings)),
      countries_(countries),
      store_(settings_.data),
      rate_(settings_.perMinute),
      watch_(settings_.requestLimit) {
  // A packed log is held to the same size once unpacked.
  settings_.scoring.largestText = settings_.maxBytes;
  // The library owns the pool it is given.
  server_.new_task_queue = [this] {
    return std::make_unique<WatchedPool>(settings_.threads, watch_).release();
  };
  server_.set_logger([this](const httplib::Request& request, const httplib::Response&) {
    watch_.Answered(request.remote_addr, request.remote_port);
  });
  server_.set_payload_max_length(settings_.maxBytes + kFormOverhead);
  server_.set_read_timeout(settings_.timeout);
  server_.set_write_timeout(settings_.timeout);
  server_.set_keep_alive_timeout(settings_.timeout.count());
  server_.Get("/", [this](const httplib::Request&, httplib::Response& response) {
    response.set_content(FormPage(settings_.maxBytes), "text/html; charset=utf-8");
  });
  server_.Get("/received", [this](const httplib::Request&, httplib::Response& response) {
    Stream(response, "text/html; charset=utf-8",
           [logs = store_.Latest()](std::ostream& out) { WriteReceivedPage(out, logs); });
  });
  server_.Get("/received.json", [this](const httplib::Request&, httplib::Response& response) {
    Stream(response, "application/json",
           [logs = store_.Latest()](std::ostream& out) { WriteReceivedJson(out, logs); });
  });
  server_.Post("/upload", [this](const httplib::Request& request, httplib::Response& response) {
    Upload(request, response);
  });
  // A body over the limit is refused from its length, before it is read.
  // The library calls this for every answer of 400 or more, the robot's
  // own refusals too: only its own, bodiless, 413 is worded here.
  server_.set_error_handler([this](const httplib::Request& request, httplib::Response& response) {
    if (response.status == kTooLarge && response.body.empty())
      Refuse(request, response, kTooLarge,
             {"the log is larger than the robot takes: at most " +
              std::to_string(settings_.maxBytes) + " bytes"});
  });
  server_.set_exception_handler(
      [](const httplib::Request& request, httplib::Response& response, std::exception_ptr) {
        Refuse(request, response, kUnavailable,
               {"the robot could not keep the log just now; send it again in a minute"});
      });
}

std::optional<int> RobotServer::Bind() {
  const int port =
      settings_.port == 0
          ? server_.bind_to_any_port(settings_.host)
          : (server_.bind_to_port(settings_.host, settings_.port) ? settings_.port : -1);
  if (port < 0) return std::nullopt;
  // The library listens with a queue of 5: a sixth client connecting at
  // the same moment would wait a second for its connection to be tried
  // again. Listening again with the system's longest queue lets a burst in.
  for (const PortSocket& socket : SocketsOnPort(port))
    if (socket.listening) listen(socket.descriptor, SOMAXCONN);
  watch_.Watch(port);
  return port;
}

bool RobotServer::Serve() {
  return server_.listen_after_bind();
}

void RobotServer::Upload(const httplib::Request& request, httplib::Response& response) {
  if (!rate_.Allow(request.remote_addr, UploadRate::Clock::now()))
    return Refuse(request, response, kTooMany,
                  {"too many uploads from your address in a minute; wait a minute and send the "
                   "log again"});
  // The deadline's own minute is still in time: "23:59" takes 23:59:59.
  if (settings_.deadline &&
      static_cast<std::int64_t>(std::time(nullptr)) / kSecondsPerMinute > *settings_.deadline)
    return Refuse(request, response, kForbidden, {"the deadline for logs has passed"});
  if (!request.is_multipart_form_data() || !request.has_file("log"))
    return Refuse(request, response, kBadRequest,
                  {"no log was sent: choose the file in the field named \"log\""});
  // The library's own copy of the log, not another.
  const httplib::MultipartFormData& file = request.files.find("log")->second;
  if (file.content.size() > settings_.maxBytes)
    return Refuse(request, response, kTooLarge,
                  {"the log is " + std::to_string(file.content.size()) +
                   " bytes; the robot takes at most " + std::to_string(settings_.maxBytes)});
  if (file.content.empty())
    return Refuse(request, response, kUnprocessable, {"the file sent is empty"});
  const auto checked =
      CheckUpload(file.content, settings_.data / "incoming", settings_.scoring, countries_);
  if (const auto* refused = std::get_if<Refused>(&checked))
    return Refuse(request, response, refused->status, refused->errors);
  const Acceptable& log = std::get<Acceptable>(checked);
  const KeptLog kept = store_.Keep(file.content, log.facts);
  response.status = kOk;
  if (WantsJson(request))
    response.set_content(ReceiptJson(kept, log.warnings), "application/json");
  else
    response.set_content(ReceiptPage(kept, log.warnings), "text/html; charset=utf-8");
}

}  // namespace zeltra::robot
