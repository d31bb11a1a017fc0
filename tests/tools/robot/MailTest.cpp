// Receipts by mail, through a real SMTP server on loopback (Debian's
// python3-aiosmtpd, which prints each mail it takes): a server that is down
// when the log comes loses nothing and slows nothing; a held upload tells
// both senders.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/mail/SmtpClient.h"

namespace zeltra::robot {
namespace {

using Json = nlohmann::json;
constexpr const char* kPython = "/usr/bin/python3";

// Waits until what a program said holds text; true: it does.
bool Says(const RobotProcess& program, const std::string& text) {
  constexpr int kTries = 300;
  for (int tries = 0; tries < kTries; ++tries) {
    if (program.said().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(Mail, EachReceiptIsMailedAndNoneIsLostWhileTheServerIsDown) {
  if (!fs::exists(kPython) ||
      std::system((std::string(kPython) + " -c 'import aiosmtpd' 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "no python3-aiosmtpd";
  zeltra::testing::TemporaryFolder data;
  const int port = zeltra::testing::FreeLoopbackPort();
  const int mailPort = zeltra::testing::FreeLoopbackPort();
  RobotProcess robot(
      {"serve", "--data", data.path().string(), "--listen", "127.0.0.1:" + std::to_string(port),
       "--per-minute", "0", "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00", "--smtp",
       "smtp://127.0.0.1:" + std::to_string(mailPort), "--mail-from", "robot@contest.example",
       "--mail-retry", "1"},
      data.path() / "robot.txt");
  ASSERT_TRUE(robot.Answers(port)) << robot.said();
  httplib::Client client("127.0.0.1", port);
  // The mail server is down: the entrant is answered all the same.
  const httplib::Result owner = Send(client, CabrilloOf("SP9AHW", "EMAIL: owner@example.org\n"));
  ASSERT_TRUE(owner);
  ASSERT_EQ(owner->status, 200);
  const std::string key = Json::parse(owner->body)["key"];
  EXPECT_TRUE(Says(robot, "cannot send the mail to owner@example.org")) << robot.said();

  RobotProcess server({"-u", "-m", "aiosmtpd", "-n", "-l", "127.0.0.1:" + std::to_string(mailPort)},
                      data.path() / "mails.txt", kPython);
  // Tried again, it arrives, with its key.
  ASSERT_TRUE(Says(server, "Key: " + key)) << server.said() << robot.said();
  EXPECT_TRUE(Says(server, "To: <owner@example.org>"));
  EXPECT_TRUE(Says(server, "Subject: Log received: SP9AHW, receipt 1"));

  // A stranger under the same call: held, and both are told.
  const httplib::Result stranger =
      Send(client, CabrilloOf("SP9AHW", "EMAIL: stranger@example.net\n"));
  ASSERT_EQ(stranger->status, 202);
  const std::string heldKey = Json::parse(stranger->body)["key"];
  EXPECT_TRUE(Says(server, "Key: " + heldKey)) << server.said();
  EXPECT_TRUE(Says(server, "Subject: Log held: SP9AHW, receipt 2"));
  EXPECT_TRUE(Says(server, "Subject: Another log came for SP9AHW"));
  // The owner's word says nothing of the stranger's address or key.
  const std::string mails = server.said();
  const std::size_t word = mails.find("Subject: Another log came for SP9AHW");
  const std::string toOwner = mails.substr(word, mails.find("MESSAGE END", word) - word);
  EXPECT_EQ(toOwner.find("stranger@"), std::string::npos) << toOwner;
  EXPECT_EQ(toOwner.find(heldKey), std::string::npos) << toOwner;
  // A log without an address is mailed nothing.
  ASSERT_EQ(Send(client, CabrilloOf("DL1ABC"))->status, 200);
  EXPECT_EQ(robot.Stop(SIGTERM), 0);
}

TEST(Mail, OnlyAddressesThatCannotForgeAHeader) {
  struct Case {
    std::string address;
    bool taken;
  };
  const std::vector<Case> cases = {
      {"sp9ahw@example.org", true},
      {"a.b+c@sub.example.org", true},
      {"a@b", true},
      {"", false},
      {"@example.org", false},
      {"sp9ahw@", false},
      {"sp9ahw", false},
      {"a@b@c", false},
      {"a b@c", false},
      {"a@b\r\nBcc: x@y", false},
      {"a@b>, <x@y", false},
      {"Name <a@b>", false},
      {"a\x7F@b", false},
      {"\xC5\x81@b", false},
      {std::string(250, 'a') + "@b.cd", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsMailAddress(c.address), c.taken) << c.address;
  // A subject past ASCII is coded as RFC 2047 says; lines end in CRLF.
  const std::string message =
      MessageOf({"smtp://x", "robot@contest.example"}, {"a@b", "Łódź", "one\ntwo"}, 0);
  EXPECT_NE(message.find("Subject: =?UTF-8?B?xYHDs2TFug==?=\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("\r\n\r\none\r\ntwo\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("Date: Thu, 01 Jan 1970 00:00:00 +0000\r\n"), std::string::npos);
  EXPECT_NE(message.find("@contest.example>\r\nMIME-Version"), std::string::npos) << message;
  EXPECT_NE(message.find("From: <robot@contest.example>\r\nTo: <a@b>\r\n"), std::string::npos);
}

}  // namespace
}  // namespace zeltra::robot
