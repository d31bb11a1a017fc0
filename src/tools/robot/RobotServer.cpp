#include "tools/robot/RobotServer.h"

#include <cctype>
#include <ctime>
#include <sstream>
#include <string_view>
#include <thread>

#include "tools/robot/AttemptLine.h"
#include "tools/robot/EntrantNotes.h"
#include "tools/robot/ReceiptMails.h"
#include "tools/robot/RobotPages.h"
#include "tools/robot/UploadCheck.h"
#include "tools/robot/http/ClientAddress.h"
#include "tools/robot/http/HttpAnswer.h"
#include "tools/robot/store/Sha256.h"
#include "tools/robot/store/UtcNow.h"

namespace zeltra::robot {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kOk = 200;
constexpr int kHeld = 202;
constexpr int kBadRequest = 400;
constexpr int kForbidden = 403;
constexpr int kNotFound = 404;
constexpr int kNotAllowed = 405;
constexpr int kUnsupported = 415;
constexpr int kTooMany = 429;
constexpr int kUnavailable = 503;
constexpr std::int64_t kSecondsPerMinute = 60;
constexpr auto kStopCheck = std::chrono::milliseconds(100);

std::string Header(MHD_Connection* connection, const char* name) {
  const char* value = MHD_lookup_connection_value(connection, MHD_HEADER_KIND, name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string AddressOf(MHD_Connection* connection) {
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
  return AddressText(info == nullptr ? nullptr : info->client_addr);
}

// However slow the rate floor lets a largest log be, its body is done
// within this (besides the first window).
constexpr std::chrono::seconds kLongestBody{300};
// Of the connections, the share no upload may take: a new client, a
// reader of the pages, is always served.
constexpr unsigned kKeptFreeOneIn = 8;
// The pages an address may ask for in a minute, for each upload it may make.
constexpr std::size_t kPagesPerUpload = 10;

constexpr std::size_t kMinuteText = std::string_view("2026-12-13 23:59").size();

// The deadline as an entrant reads it, "2026-12-13 23:59" (UTC).
std::string DeadlineText(std::int64_t minute) {
  return UtcText(minute * kSecondsPerMinute).substr(0, kMinuteText);
}

}  // namespace

// One request, from its headers to its answer.
struct RobotServer::Request {
  Clock::time_point arrived = Clock::now();
  std::int64_t arrivedUtc = 0;
  std::string address;
  std::string share;       // the address's ShareKey
  bool shared = false;     // counted in its address's share
  bool uploading = false;  // holds one of the upload slots
  bool json = false;
  std::unique_ptr<UploadReceiver> receiver;
  std::optional<Reply> reply;  // made by a worker, to be queued
};

RobotServer::RobotServer(RobotSettings settings, const CountryFile* countries, std::ostream& said)
    : settings_(std::move(settings)),
      countries_(countries),
      said_(said),
      store_(settings_.data, TheSystemDisk(), settings_.mailCaps, settings_.quotas),
      reader_(settings_.data),
      rate_(settings_.perMinute),
      pageRate_(settings_.perMinute * kPagesPerUpload),
      share_(settings_.http.perAddress) {
  // Behind a proxy, the proxy's connections carry every client's
  // requests: the proxy has no share of its own, each client's request is
  // held to the share of the address it forwards.
  if (settings_.trustedProxy) settings_.http.exempt = *settings_.trustedProxy;
  // A packed log is held to the same size once unpacked.
  settings_.reading.largestText = settings_.maxBytes;
  LoadHashing();
  recorder_ = std::make_unique<AttemptRecorder>(
      store_, [this](const Attempt& attempt) { Tell(attempt); },
      [this](const std::string& what) { TellFailure(what); });
  if (settings_.smtp)
    mailer_ = std::make_unique<MailSender>(settings_.data, *settings_.smtp, settings_.mailRetry,
                                           [this](const std::string& what) { TellFailure(what); });
}

// The workers end (their connections resumed) before the server stops.
RobotServer::~RobotServer() {
  workers_.reset();
  daemon_.reset();
}

std::optional<int> RobotServer::Bind() {
  ListenSocket socket(settings_.host, settings_.port);
  if (socket.descriptor() < 0) return std::nullopt;
  const int port = socket.port();
  workers_ = std::make_unique<WorkerPool>(settings_.workers);
  daemon_ = std::make_unique<HttpDaemon>(std::move(socket), settings_.http, *this);
  return port;
}

void RobotServer::Serve() {
  while (!stopping_) std::this_thread::sleep_for(kStopCheck);
  // The uploads being read are finished and their connections resumed
  // before the server stops.
  workers_.reset();
  daemon_.reset();
}

std::size_t RobotServer::CutOff() const {
  return (daemon_ ? daemon_->cutOff() : 0) + slowBodies_;
}

void RobotServer::Record(const Attempt& attempt) {
  recorder_->Record(attempt);
}

void RobotServer::RecordNow(const Attempt& attempt) {
  Tell(attempt);
  try {
    store_.Record(attempt);
  } catch (const StoreFailure& failure) {
    TellFailure(std::string("cannot record the attempt: ") + failure.what());
  }
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

// A request's own record, from its first call; owned by the library from
// here until Completed.
RobotServer::Request& RobotServer::Made(MHD_Connection* connection, void** request) {
  auto made = std::make_unique<Request>();
  made->arrivedUtc =
      settings_.utcNow ? settings_.utcNow() : static_cast<std::int64_t>(std::time(nullptr));
  made->address = AddressOf(connection);
  if (settings_.trustedProxy && made->address == *settings_.trustedProxy) {
    const std::string forwarded = ForwardedAddress(Header(connection, "X-Forwarded-For"));
    if (!forwarded.empty()) made->address = forwarded;
  }
  made->share = ShareKey(made->address);
  made->shared = share_.Open(made->share);
  made->json = Header(connection, "Accept").find("application/json") != std::string::npos;
  *request = made.get();
  return *made.release();
}

MHD_Result RobotServer::Busy(MHD_Connection* connection, void** request) {
  return Refuse(connection, Made(connection, request), kUnavailable,
                {"the robot is crowded just now: send it again in a minute"}, {},
                {{"Retry-After", "60"}});
}

MHD_Result RobotServer::Handle(MHD_Connection* connection, const char* url, const char* method,
                               const char* data, std::size_t* size, void** request) {
  if (*request == nullptr) {
    Request& begun = Made(connection, request);
    if (!begun.shared)
      return Refuse(connection, begun, kTooMany,
                    {"too many requests from your address at once: wait a moment, then try "
                     "again"},
                    {}, {{"Retry-After", "10"}});
    return Begin(connection, url, method, begun);
  }
  Request& current = *static_cast<Request*>(*request);
  if (current.reply) {
    const Reply reply = std::move(*current.reply);
    current.reply.reset();
    return Answer(connection, reply.status, reply.type, reply.body, reply.headers);
  }
  if (*size == 0) return current.receiver ? FinishUpload(connection, current) : MHD_YES;
  const std::size_t taken = *size;
  *size = 0;
  if (!current.receiver) return MHD_YES;  // a body no one asked for, dropped
  if (current.receiver->Take(data, taken, Clock::now())) return MHD_YES;
  // Too slow, or more than any log: the connection is closed, and recorded.
  const UploadReceiver::Stop stop = current.receiver->stop();
  if (stop == UploadReceiver::Stop::kTooSlow) ++slowBodies_;
  Attempt attempt;
  attempt.time = UtcNow();
  attempt.address = current.address;
  attempt.bytes = current.receiver->logBytes();
  attempt.status = 0;
  attempt.reason = stop == UploadReceiver::Stop::kTooSlow ? "cut off: sent too slowly"
                                                          : "cut off: more than a log and its form";
  Record(attempt);
  current.receiver.reset();
  return MHD_NO;
}

void RobotServer::Completed(void** request) {
  std::unique_ptr<Request> done(static_cast<Request*>(*request));
  *request = nullptr;
  if (done && done->shared) share_.Close(done->share);
  if (done && done->uploading) --uploading_;
}

MHD_Result RobotServer::Begin(MHD_Connection* connection, const std::string& url,
                              const std::string& method, Request& request) {
  const bool get = method == "GET" || method == "HEAD";
  if (url == "/upload") {
    if (method != "POST")
      return Answer(connection, kNotAllowed, "text/plain; charset=utf-8",
                    "Send the log from the form at /\n", {{"Allow", "POST"}});
    return BeginUpload(connection, request);
  }
  if (url != "/" && url != "/received" && url != "/received.json")
    return Answer(connection, kNotFound, "text/html; charset=utf-8", NotFoundPage(), {});
  if (!get)
    return Answer(connection, kNotAllowed, "text/plain; charset=utf-8", "Only GET here\n",
                  {{"Allow", "GET, HEAD"}});
  if (!pageRate_.Allow(request.share, UploadRate::Clock::now()))
    return Refuse(connection, request, kTooMany,
                  {"too many pages asked for from your address in a minute: wait a minute"}, {},
                  {{"Retry-After", "60"}});
  if (url == "/") {
    FormFacts facts;
    facts.maxBytes = settings_.maxBytes;
    facts.from = ShownTime(settings_.reading.from.value_or(""));
    facts.to = ShownTime(settings_.reading.to.value_or(""));
    if (settings_.deadline) {
      facts.deadline = DeadlineText(*settings_.deadline);
      facts.closed = request.arrivedUtc / kSecondsPerMinute > *settings_.deadline;
    }
    return Answer(connection, kOk, "text/html; charset=utf-8", FormPage(facts), {});
  }
  const bool json = url == "/received.json";
  return AnswerShared(connection, kOk, json ? "application/json" : "text/html; charset=utf-8",
                      ReceivedList(json), {});
}

// Made once for each change of the records, and shared by every reader
// until the next: a reader who never reads holds a reference, not a copy.
std::shared_ptr<const std::string> RobotServer::ReceivedList(bool json) {
  const std::lock_guard lock(listing_.mutex);
  const std::int64_t version = reader_.Version();
  if (!listing_.page || version != listing_.version) {
    const std::vector<KeptLog> logs = reader_.Current();
    std::ostringstream page;
    WriteReceivedPage(page, logs);
    std::ostringstream list;
    WriteReceivedJson(list, logs);
    listing_.page = std::make_shared<const std::string>(std::move(page).str());
    listing_.json = std::make_shared<const std::string>(std::move(list).str());
    listing_.version = version;
  }
  return json ? listing_.json : listing_.page;
}

MHD_Result RobotServer::BeginUpload(MHD_Connection* connection, Request& request) {
  if (!rate_.Allow(request.share, UploadRate::Clock::now()))
    return Refuse(connection, request, kTooMany,
                  {"too many uploads from your address in a minute: wait a minute, then send "
                   "the log again"},
                  {}, {{"Retry-After", "60"}});
  // Judged by when the headers arrived: an entrant whose log is still
  // arriving when the minute turns is in time. The deadline's own minute
  // is still in time: "23:59" takes 23:59:59.
  if (settings_.deadline && request.arrivedUtc / kSecondsPerMinute > *settings_.deadline)
    return Refuse(
        connection, request, kForbidden,
        {"the robot is closed: the deadline for logs, " + DeadlineText(*settings_.deadline) +
         ", has passed; write to the organiser if your log is late"},
        {});
  // The form's own encoding, no other: a log in a url-encoded form would
  // be read whole into memory.
  std::string type = Header(connection, "Content-Type");
  for (char& c : type) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (type.rfind("multipart/form-data", 0) != 0)
    return Refuse(connection, request, kUnsupported,
                  {"the upload is not a form with a file (multipart/form-data); send the log from "
                   "the form at /"},
                  {});
  if (!Header(connection, "Content-Encoding").empty())
    return Refuse(connection, request, kUnsupported,
                  {"the upload was sent packed (Content-Encoding); send the log as the form "
                   "sends it (a gzip file is fine)"},
                  {});
  const std::string length = Header(connection, "Content-Length");
  const auto atTheFloor =
      std::chrono::seconds(settings_.maxBytes / std::max<std::size_t>(settings_.bytesPerSecond, 1));
  const BodyLimits limits{settings_.maxBytes, BodyLimits{}.formBytes, settings_.bytesPerSecond,
                          settings_.rateWindow,
                          settings_.rateWindow + std::min(atTheFloor, kLongestBody)};
  // A body over the limit is refused from its length, before it is read.
  if (!length.empty() && length.find_first_not_of("0123456789") == std::string::npos &&
      (length.size() > std::to_string(limits.logBytes + limits.formBytes).size() ||
       std::stoull(length) > limits.logBytes + limits.formBytes))
    return Refuse(connection, request, kTooLarge,
                  {"the log is larger than the robot takes: at most " +
                   std::to_string(settings_.maxBytes) + " bytes"},
                  {});
  // Uploads take at most their part of the connections, the rest kept
  // for new clients.
  const unsigned slots = settings_.http.connections - settings_.http.connections / kKeptFreeOneIn;
  if (uploading_.fetch_add(1) >= slots) {
    --uploading_;
    return Refuse(connection, request, kUnavailable,
                  {"the robot is receiving as many logs as it can at once: send the log again "
                   "in a minute"},
                  {}, {{"Retry-After", "60"}});
  }
  request.uploading = true;
  try {
    request.receiver = std::make_unique<UploadReceiver>(connection, store_.IncomingFolder(), limits,
                                                        request.arrived);
  } catch (const StoreFailure& failure) {
    TellFailure(failure.what());
    return Refuse(connection, request, kUnavailable,
                  {"the robot could not keep the log just now; send it again in a minute"}, {});
  }
  if (!request.receiver->Readable()) {
    request.receiver.reset();
    return Refuse(connection, request, kBadRequest,
                  {"no log was sent: choose the file in the field named \"log\""}, {});
  }
  return MHD_YES;
}

// The upload's body is all in: it is read and kept on a worker, its
// connection suspended meanwhile and resumed with the answer.
MHD_Result RobotServer::FinishUpload(MHD_Connection* connection, Request& request) {
  std::shared_ptr<UploadReceiver> receiver = std::move(request.receiver);
  MHD_suspend_connection(connection);
  workers_->Post([this, connection, &request, receiver]() mutable {
    request.reply = Finished(request, *receiver);
    // Its piece in incoming goes before the answer does.
    receiver.reset();
    MHD_resume_connection(connection);
  });
  return MHD_YES;
}

RobotServer::Reply RobotServer::Finished(const Request& request, UploadReceiver& receiver) {
  const std::int64_t size = receiver.logBytes();
  switch (receiver.stop()) {
    case UploadReceiver::Stop::kTooLarge:
      return Refusal(request, kTooLarge,
                     {"the log is " + std::to_string(size) + " bytes; the robot takes at most " +
                      std::to_string(settings_.maxBytes)},
                     {size, {}, {}}, {}, true);
    case UploadReceiver::Stop::kBroken:
      return Refusal(request, kUnavailable,
                     {"the robot could not keep the log just now; send it again in a minute"},
                     {size, {}, {}}, {{"Retry-After", "60"}}, true);
    case UploadReceiver::Stop::kBadForm:
      return Refusal(request, kBadRequest,
                     {"the form could not be read: a part's headers are longer than the robot "
                      "reads, or the form is not one; send the log from the form at /"},
                     {size, {}, {}}, {}, true);
    default:
      break;
  }
  if (!receiver.hasLog())
    return Refusal(request, kBadRequest,
                   {"no log was sent: choose the file in the field named \"log\""}, {}, {}, true);
  if (size == 0) return Refusal(request, kUnprocessable, {"the file sent is empty"}, {}, {}, true);
  try {
    IncomingFile& piece = receiver.piece();
    const std::string sha256 = piece.Sha256();
    const auto checked =
        CheckUpload(piece.path(), sha256, settings_.reading, settings_.contests, countries_);
    if (const auto* refused = std::get_if<Refused>(&checked))
      return Refusal(request, refused->status, refused->errors, {size, sha256, refused->call}, {},
                     true);
    const Acceptable& log = std::get<Acceptable>(checked);
    ReceiptMails mails;
    // The key goes to the sender before the mail is committed, so that the
    // mail never goes out without it; it is forgotten if no mail took it.
    if (mailer_)
      mails = [this, &log](const Receipt& receipt, const std::optional<std::string>& currentEmail) {
        mailer_->Remember(receipt.log.id, receipt.key);
        return ReceiptMailsOf(receipt, log.warnings, log.email, currentEmail);
      };
    const Receipt receipt =
        store_.Keep(piece, log.facts, Sender{request.address, receiver.key(), log.email}, mails);
    if (mailer_) {
      if (!receipt.keyMailed) mailer_->Forget(receipt.log.id);
      for (const std::string& recipient : receipt.mailsCapped)
        TellFailure("no mail to " + recipient + " for upload " + std::to_string(receipt.log.id) +
                    ": the mails of the hour to that address, or in all, are at their cap");
      mailer_->Wake();
    }
    const bool held = receipt.log.state == LogState::kHeld;
    Attempt attempt;
    attempt.time = receipt.log.received;
    attempt.address = request.address;
    attempt.bytes = size;
    attempt.sha256 = sha256;
    attempt.call = log.facts.call;
    attempt.outcome = held ? Outcome::kHeld : Outcome::kAccepted;
    attempt.status = held ? kHeld : kOk;
    attempt.log = receipt.log.id;
    Tell(attempt);
    const HttpHeaders noStore = {{"Cache-Control", "no-store"}};
    if (request.json)
      return {attempt.status, "application/json", ReceiptJson(receipt, log.warnings), noStore};
    return {attempt.status, "text/html; charset=utf-8", ReceiptPage(receipt, log.warnings),
            noStore};
  } catch (const QuotaReached& quota) {
    TellFailure(quota.what());
    return Refusal(request, kUnavailable, {quota.entrant()}, {size, {}, {}},
                   {{"Retry-After", "3600"}}, true);
  } catch (const std::exception& failure) {
    TellFailure(failure.what());
    return Refusal(request, kUnavailable,
                   {"the robot could not keep the log just now; send it again in a minute"},
                   {size, {}, {}}, {{"Retry-After", "60"}}, true);
  }
}

// Refuses an upload, records it and tells it.
MHD_Result RobotServer::Refuse(MHD_Connection* connection, const Request& request, int status,
                               const std::vector<std::string>& errors, const SeenUpload& seen,
                               const HttpHeaders& headers) {
  const Reply reply = Refusal(request, status, errors, seen, headers);
  return Answer(connection, reply.status, reply.type, reply.body, reply.headers);
}

RobotServer::Reply RobotServer::Refusal(const Request& request, int status,
                                        const std::vector<std::string>& errors,
                                        const SeenUpload& seen, const HttpHeaders& headers,
                                        bool onWorker) {
  Attempt attempt;
  attempt.time = UtcNow();
  attempt.address = request.address;
  attempt.bytes = seen.bytes;
  attempt.sha256 = seen.sha256;
  attempt.call = seen.call;
  attempt.outcome = Outcome::kRefused;
  attempt.status = status;
  attempt.reason = errors.empty() ? "" : errors.front();
  // A worker may wait for the store; an event loop hands the attempt on.
  if (onWorker)
    RecordNow(attempt);
  else
    Record(attempt);
  if (request.json) return {status, "application/json", RefusalJson(errors), headers};
  return {status, "text/html; charset=utf-8", RefusalPage(status, errors), headers};
}

}  // namespace zeltra::robot
