#include "tools/robot/RobotServer.h"

#include <sys/socket.h>

#include <ctime>
#include <memory>

#include "tools/robot/AttemptLine.h"
#include "tools/robot/PortSockets.h"
#include "tools/robot/RobotPages.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/WatchedPool.h"
#include "tools/robot/store/UtcNow.h"

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

constexpr int kHeld = 202;

bool WantsJson(const httplib::Request& request) {
  return request.get_header_value("Accept").find("application/json") != std::string::npos;
}

void Answer(const httplib::Request& request, httplib::Response& response, int status,
            const std::string& json, const std::string& page) {
  response.status = status;
  if (WantsJson(request))
    response.set_content(json, "application/json");
  else
    response.set_content(page, "text/html; charset=utf-8");
}

// Every answer: no page of the robot's runs a script, is framed, sniffed
// for another type, or tells another site where its reader came from.
const httplib::Headers kSafeHeaders = {
    {"Content-Security-Policy",
     "default-src 'none'; style-src 'unsafe-inline'; img-src data:; form-action 'self'; "
     "frame-ancestors 'none'; base-uri 'none'"},
    {"X-Content-Type-Options", "nosniff"},
    {"Referrer-Policy", "no-referrer"},
    {"X-Frame-Options", "DENY"},
};

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

RobotServer::RobotServer(RobotSettings settings, const CountryFile* countries, std::ostream& said)
    : settings_(std::move(settings)),
      countries_(countries),
      said_(said),
      store_(settings_.data),
      reader_(settings_.data),
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
  server_.set_default_headers(kSafeHeaders);
  // A second robot on the same address fails to listen, rather than take
  // a share of the uploads into a data folder nobody exports.
  server_.set_socket_options([](int socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
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
           [logs = reader_.Current()](std::ostream& out) { WriteReceivedPage(out, logs); });
  });
  server_.Get("/received.json", [this](const httplib::Request&, httplib::Response& response) {
    Stream(response, "application/json",
           [logs = reader_.Current()](std::ostream& out) { WriteReceivedJson(out, logs); });
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
              std::to_string(settings_.maxBytes) + " bytes"},
             {});
  });
  server_.set_exception_handler(
      [this](const httplib::Request& request, httplib::Response& response, std::exception_ptr) {
        Refuse(request, response, kUnavailable,
               {"the robot could not keep the log just now; send it again in a minute"}, {});
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

void RobotServer::Tell(const Attempt& attempt) {
  const std::lock_guard lock(saying_);
  WriteAttemptLine(said_, attempt);
  said_.flush();
}

void RobotServer::TellFailure(const std::string& what) {
  const std::lock_guard lock(saying_);
  said_ << "zeltra-robot: " << what << std::endl;
}

// Refuses an upload, records it and tells it.
void RobotServer::Refuse(const httplib::Request& request, httplib::Response& response, int status,
                         const std::vector<std::string>& errors, const SeenUpload& seen) {
  Answer(request, response, status, RefusalJson(errors), RefusalPage(status, errors));
  if (request.path != "/upload") return;
  Attempt attempt;
  attempt.bytes = seen.bytes;
  attempt.sha256 = seen.sha256;
  attempt.call = seen.call;
  attempt.time = UtcNow();
  attempt.address = request.remote_addr;
  if (attempt.bytes == 0) attempt.bytes = static_cast<std::int64_t>(request.body.size());
  attempt.outcome = Outcome::kRefused;
  attempt.status = status;
  attempt.reason = errors.empty() ? "" : errors.front();
  Tell(attempt);
  try {
    store_.Record(attempt);
  } catch (const StoreFailure& failure) {
    TellFailure(std::string("cannot record the attempt: ") + failure.what());
  }
}

void RobotServer::Upload(const httplib::Request& request, httplib::Response& response) {
  if (!rate_.Allow(request.remote_addr, UploadRate::Clock::now()))
    return Refuse(request, response, kTooMany,
                  {"too many uploads from your address in a minute; wait a minute and send the "
                   "log again"},
                  {});
  // The deadline's own minute is still in time: "23:59" takes 23:59:59.
  if (settings_.deadline &&
      static_cast<std::int64_t>(std::time(nullptr)) / kSecondsPerMinute > *settings_.deadline)
    return Refuse(request, response, kForbidden, {"the deadline for logs has passed"}, {});
  if (!request.is_multipart_form_data() || !request.has_file("log"))
    return Refuse(request, response, kBadRequest,
                  {"no log was sent: choose the file in the field named \"log\""}, {});
  // The library's own copy of the log, not another.
  const httplib::MultipartFormData& file = request.files.find("log")->second;
  const auto size = static_cast<std::int64_t>(file.content.size());
  if (file.content.size() > settings_.maxBytes)
    return Refuse(request, response, kTooLarge,
                  {"the log is " + std::to_string(file.content.size()) +
                   " bytes; the robot takes at most " + std::to_string(settings_.maxBytes)},
                  SeenUpload{size, {}, {}});
  if (file.content.empty())
    return Refuse(request, response, kUnprocessable, {"the file sent is empty"}, {});
  Sender sender{request.remote_addr, std::nullopt};
  if (request.has_file("key")) sender.key = request.files.find("key")->second.content;
  try {
    IncomingFile piece = store_.NewPiece();
    piece.Append(file.content);
    const std::string sha256 = piece.Sha256();
    const auto checked = CheckUpload(piece.path(), sha256, settings_.scoring, countries_);
    if (const auto* refused = std::get_if<Refused>(&checked))
      return Refuse(request, response, refused->status, refused->errors,
                    SeenUpload{size, sha256, refused->call});
    const Acceptable& log = std::get<Acceptable>(checked);
    const Receipt receipt = store_.Keep(piece, log.facts, sender);
    const bool held = receipt.log.state == LogState::kHeld;
    Answer(request, response, held ? kHeld : kOk, ReceiptJson(receipt, log.warnings),
           ReceiptPage(receipt, log.warnings));
    response.set_header("Cache-Control", "no-store");
    Attempt attempt;
    attempt.time = receipt.log.received;
    attempt.address = sender.address;
    attempt.bytes = size;
    attempt.sha256 = sha256;
    attempt.call = log.facts.call;
    attempt.outcome = held ? Outcome::kHeld : Outcome::kAccepted;
    attempt.status = response.status;
    attempt.log = receipt.log.id;
    Tell(attempt);
  } catch (const StoreFailure& failure) {
    TellFailure(failure.what());
    Refuse(request, response, kUnavailable,
           {"the robot could not keep the log just now; send it again in a minute"},
           SeenUpload{size, {}, {}});
  }
}

}  // namespace zeltra::robot
