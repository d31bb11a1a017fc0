#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/logfile/CountryFile.h"
#include "organiser/reading/ReadSettings.h"
#include "tools/robot/AddressShare.h"
#include "tools/robot/AttemptRecorder.h"
#include "tools/robot/UploadRate.h"
#include "tools/robot/UploadReceiver.h"
#include "tools/robot/WorkerPool.h"
#include "tools/robot/http/HttpAnswer.h"
#include "tools/robot/http/HttpDaemon.h"
#include "tools/robot/mail/MailSender.h"
#include "tools/robot/store/StoreReader.h"
#include "tools/robot/store/UploadStore.h"

namespace zeltra::robot {

inline constexpr std::size_t kDefaultMaxBytes = 5 * 1024 * 1024;
inline constexpr std::size_t kDefaultPerMinute = 30;

struct RobotSettings {
  std::filesystem::path data;
  std::string host = "127.0.0.1";
  int port = 8080;  // 0: any free port
  // UTC, minutes since 1970: uploads whose headers arrive after this
  // minute are refused.
  std::optional<std::int64_t> deadline;
  std::size_t maxBytes = kDefaultMaxBytes;
  std::size_t perMinute = kDefaultPerMinute;
  HttpLimits http;
  // A body slower than this on average, once the window is past, is cut.
  std::size_t bytesPerSecond = 1024;
  std::chrono::seconds rateWindow{30};
  organiser::ReadSettings reading;  // the contest period; largestText is maxBytes
  // The names a log's CONTEST: may give; none: any.
  std::vector<std::string> contests;
  // Threads that read and keep the uploads, off the event loops.
  unsigned workers = 4;
  // The address of a reverse proxy in front of the robot: a request from it
  // is the client's its X-Forwarded-For names, held to that address's
  // share (http.perAddress); the proxy's own connections have no share.
  std::optional<std::string> trustedProxy;
  // Receipts by mail, when set: the server and the sender's address; a
  // mail that fails is tried again after mailRetry, then ever later.
  std::optional<SmtpSettings> smtp;
  std::chrono::seconds mailRetry{60};
  MailCaps mailCaps;
  StoreQuotas quotas;
  // UTC seconds since 1970 now; none: the system's clock.
  std::function<std::int64_t()> utcNow;
};

// The robot over HTTP: the upload form, the upload, the logs received.
// Each upload is recorded as an attempt and told on said as one line.
class RobotServer : public HttpHandler {
 public:
  // Throws StoreFailure: the data folder cannot be used, or another robot
  // serves it.
  RobotServer(RobotSettings settings, const CountryFile* countries, std::ostream& said = std::cerr);
  ~RobotServer() override;

  // Listens and starts serving; answers the port (the one chosen, for
  // port 0), or none when the address cannot be listened on.
  std::optional<int> Bind();
  // Serves until Stop.
  void Serve();
  // Safe in a signal handler.
  void Stop() { stopping_ = true; }
  // Connections cut for sending their headers or their log too slowly.
  std::size_t CutOff() const;

  MHD_Result Handle(MHD_Connection* connection, const char* url, const char* method,
                    const char* data, std::size_t* size, void** request) override;
  void Completed(void** request) override;
  MHD_Result Busy(MHD_Connection* connection, void** request) override;

 private:
  struct Request;
  Request& Made(MHD_Connection* connection, void** request);
  // What was seen of an upload before it was refused.
  struct SeenUpload {
    std::int64_t bytes = 0;
    std::string sha256;
    std::string call;
  };
  MHD_Result Begin(MHD_Connection* connection, const std::string& url, const std::string& method,
                   Request& request);
  MHD_Result BeginUpload(MHD_Connection* connection, Request& request);
  MHD_Result FinishUpload(MHD_Connection* connection, Request& request);
  // An answer made away from the event loop, queued when its connection
  // is resumed.
  struct Reply {
    int status = 0;
    std::string type;
    std::string body;
    HttpHeaders headers;
  };
  Reply Finished(const Request& request, UploadReceiver& receiver);
  MHD_Result Refuse(MHD_Connection* connection, const Request& request, int status,
                    const std::vector<std::string>& errors, const SeenUpload& seen,
                    const HttpHeaders& headers = {});
  Reply Refusal(const Request& request, int status, const std::vector<std::string>& errors,
                const SeenUpload& seen, const HttpHeaders& headers = {}, bool onWorker = false);
  // Records a refusal and tells it: handed to the recorder (from an event
  // loop), or at once (from a worker).
  void Record(const Attempt& attempt);
  void RecordNow(const Attempt& attempt);
  std::shared_ptr<const std::string> ReceivedList(bool json);
  void Tell(const Attempt& attempt);
  void TellFailure(const std::string& what);

  RobotSettings settings_;
  const CountryFile* countries_;
  std::ostream& said_;
  std::mutex saying_;
  UploadStore store_;
  StoreReader reader_;
  struct Listing {
    std::mutex mutex;
    std::int64_t version = 0;
    std::shared_ptr<const std::string> page;
    std::shared_ptr<const std::string> json;
  } listing_;
  UploadRate rate_;
  UploadRate pageRate_;
  AddressShare share_;
  std::atomic<bool> stopping_{false};
  std::atomic<std::size_t> slowBodies_{0};
  std::atomic<unsigned> uploading_{0};  // upload slots taken
  std::unique_ptr<MailSender> mailer_;
  std::unique_ptr<AttemptRecorder> recorder_;
  // Made before the server starts and gone before it stops: a worker's
  // upload ends by resuming its connection.
  std::unique_ptr<WorkerPool> workers_;
  std::unique_ptr<HttpDaemon> daemon_;
};

}  // namespace zeltra::robot
