// Receipts by mail, through a real SMTP server on loopback (Debian's
// python3-aiosmtpd, which prints each mail it takes): a server that is down
// when the log comes loses nothing and slows nothing; a held upload tells
// both senders; no one is mailed past the caps, a mail refused for good is
// given up, a domain that stalls waits aside, and no key is ever written
// to the records.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>

#include "support/FreePort.h"
#include "support/SqliteLog.h"
#include "support/TextCount.h"
#include "tools/robot/ReceiptMails.h"
#include "tools/robot/RobotProcess.h"
#include "tools/robot/ServingRobot.h"
#include "tools/robot/mail/MailText.h"
#include "tools/robot/mail/SmtpClient.h"
#include "tools/robot/store/StoreReader.h"

namespace zeltra::robot {
namespace {

using zeltra::testing::CountIn;

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

bool HasAiosmtpd() {
  return fs::exists(kPython) &&
         std::system((std::string(kPython) + " -c 'import aiosmtpd' 2>/dev/null").c_str()) == 0;
}

// The records' bytes as a copy of the data folder would hold them.
std::string RecordsBytes(const fs::path& data) {
  std::string bytes;
  for (const char* name : {"robot.sqlite", "robot.sqlite-wal"}) {
    std::ifstream in(data / name, std::ios::binary);
    bytes += std::string(std::istreambuf_iterator<char>(in), {});
  }
  return bytes;
}

// Waits until what the in-process robot said holds text n times.
bool SaysTimes(const ServingRobot& robot, const std::string& text, std::size_t times) {
  constexpr int kTries = 200;
  for (int tries = 0; tries < kTries; ++tries) {
    if (CountIn(robot.said(), text) >= times) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

TEST(Mail, EachReceiptIsMailedAndNoneIsLostWhileTheServerIsDown) {
  if (!HasAiosmtpd()) GTEST_SKIP() << "no python3-aiosmtpd";
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
  // The queued mail waits without its key: a copy of the records replaces
  // no one's log.
  EXPECT_EQ(RecordsBytes(data.path()).find(key), std::string::npos);

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
  // Sent, a mail's text is blanked; no key is in the records.
  const std::string records = RecordsBytes(data.path());
  EXPECT_EQ(records.find(key), std::string::npos);
  EXPECT_EQ(records.find(heldKey), std::string::npos);
  EXPECT_EQ(records.find("Score before the check"), std::string::npos);
  // Told once per mail, not once per try.
  EXPECT_EQ(CountIn(robot.said(), "cannot send the mail to owner@example.org"), 1U) << robot.said();
}

// A robot whose mails go to a server that is down, so that they wait:
// what is queued is what the caps let through.
TEST(Mail, NoAddressIsMailedPastItsCaps) {
  zeltra::testing::TemporaryFolder data;
  RobotSettings settings = Settings(data.path());
  settings.smtp =
      SmtpSettings{"smtp://127.0.0.1:" + std::to_string(zeltra::testing::FreeLoopbackPort()),
                   "robot@contest.example"};
  settings.mailCaps.perHour = 9;
  std::vector<std::string> keys;
  {
    ServingRobot robot(settings);
    httplib::Client client = robot.Client();
    // Six entrants name one victim, written six ways: three mails.
    const std::vector<std::string> victims = {"victim@example.org",   "Victim@Example.org",
                                              "victim+1@example.org", "VICTIM+x@EXAMPLE.ORG",
                                              "victim@example.org",   "victim+2@example.org"};
    for (std::size_t i = 0; i < victims.size(); ++i) {
      const httplib::Result sent = Send(
          client, CabrilloOf("SP" + std::to_string(i + 1) + "ABC", "EMAIL: " + victims[i] + "\n"));
      ASSERT_TRUE(sent);
      ASSERT_EQ(sent->status, 200) << sent->body;
      keys.push_back(Json::parse(sent->body)["key"]);
    }
    // A real entrant, then four held uploads for its call: one word to it.
    ASSERT_EQ(Send(client, CabrilloOf("SP9AHW", "EMAIL: owner@example.net\n"))->status, 200);
    for (int i = 0; i < 4; ++i) {
      const httplib::Result held = Send(
          client, CabrilloOf("SP9AHW", "EMAIL: s" + std::to_string(i) + "@stranger.example\n"));
      ASSERT_EQ(held->status, 202);
      keys.push_back(Json::parse(held->body)["key"]);
    }
    // The hour's mails are at their cap of 9: a new address gets none.
    ASSERT_EQ(Send(client, CabrilloOf("DL1ABC", "EMAIL: late@example.com\n"))->status, 200);
    EXPECT_TRUE(SaysTimes(robot, "cannot send the mail to", 9)) << robot.said();
    const std::string said = robot.said();
    EXPECT_EQ(CountIn(said, "no mail to "), 3U + 3U + 1U) << said;
    EXPECT_NE(said.find("no mail to late@example.com"), std::string::npos) << said;
  }
  std::map<std::string, int> to;
  for (const UnsentMail& mail : StoreReader(data.path()).Unsent()) {
    EXPECT_FALSE(mail.givenUp);
    ++to[mail.subject.rfind("Another", 0) == 0 ? "another" : RecipientKey(mail.recipient)];
  }
  EXPECT_EQ(to["victim@example.org"], 3);
  EXPECT_EQ(to["owner@example.net"], 1);
  EXPECT_EQ(to["another"], 1);
  EXPECT_EQ(to["s3@stranger.example"], 1);
  EXPECT_EQ(to.count("late@example.com"), 0U);
  const std::string records = RecordsBytes(data.path());
  for (const std::string& key : keys) EXPECT_EQ(records.find(key), std::string::npos) << key;
}

// A server that refuses one domain for good and stalls at another's RCPT:
// the one is given up, told once; the other waits aside while the third
// domain's mail goes, with its key.
TEST(Mail, ARefusalIsGivenUpAndAStallingDomainWaitsAside) {
  if (!HasAiosmtpd()) GTEST_SKIP() << "no python3-aiosmtpd";
  zeltra::testing::TemporaryFolder data;
  const int mailPort = zeltra::testing::FreeLoopbackPort();
  RobotProcess server({"-u", std::string(ZELTRA_ROBOT_TESTS) + "/smtp-server.py",
                       "127.0.0.1:" + std::to_string(mailPort)},
                      data.path() / "mails.txt", kPython);
  ASSERT_TRUE(Says(server, "serving")) << server.said();
  RobotSettings settings = Settings(data.path());
  settings.smtp =
      SmtpSettings{"smtp://127.0.0.1:" + std::to_string(mailPort), "robot@contest.example",
                   std::chrono::seconds(1), std::chrono::seconds(5)};
  settings.mailRetry = std::chrono::seconds(1);
  ServingRobot robot(settings);
  httplib::Client client = robot.Client();
  ASSERT_EQ(Send(client, CabrilloOf("SP1AAA", "EMAIL: a@stall.example\n"))->status, 200);
  ASSERT_EQ(Send(client, CabrilloOf("SP2BBB", "EMAIL: b@refused.example\n"))->status, 200);
  const httplib::Result fine = Send(client, CabrilloOf("SP3CCC", "EMAIL: c@fine.example\n"));
  ASSERT_EQ(fine->status, 200);
  const std::string key = Json::parse(fine->body)["key"];
  EXPECT_TRUE(Says(server, "Key: " + key)) << server.said() << robot.said();
  EXPECT_TRUE(SaysTimes(robot, "gave up the mail to b@refused.example (receipt 2)", 1))
      << robot.said();
  std::this_thread::sleep_for(std::chrono::seconds(3));
  EXPECT_EQ(CountIn(robot.said(), "gave up the mail to b@refused.example"), 1U) << robot.said();
  EXPECT_EQ(CountIn(robot.said(), "cannot send the mail to a@stall.example"), 1U) << robot.said();
  std::map<std::string, bool> unsent;
  for (const UnsentMail& mail : StoreReader(data.path()).Unsent())
    unsent[mail.recipient] = mail.givenUp;
  EXPECT_EQ(unsent,
            (std::map<std::string, bool>{{"a@stall.example", false}, {"b@refused.example", true}}));
}

// What a mail quotes of a stranger's text is short, and its lines keep to
// what mail allows.
TEST(Mail, AStrangersTextIsQuotedBrieflyInLinesMailAllows) {
  const std::string longWord(4075, 'x');
  const std::string polish =
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA";  // four characters
  struct Case {
    std::string note;
    std::string brief;
  };
  const std::vector<Case> cases = {
      {"frequency \"" + longWord + "\" is not one",
       "frequency \"" + std::string(40, 'x') + "...\" is not one"},
      {"own call " + longWord + " differs", "own call " + std::string(40, 'x') + "... differs"},
      {"date \"" + std::string(40, 'y') + "\" is short enough",
       "date \"" + std::string(40, 'y') + "\" is short enough"},
      {"a \"" + polish + std::string(40, 'z') + "\"",
       "a \"" + polish + std::string(36, 'z') + "...\""},
      {"an unclosed \"quote " + longWord, "an unclosed \"quote " + std::string(40, 'x') + "..."},
  };
  for (const Case& c : cases) EXPECT_EQ(Briefly(c.note), c.brief);

  Receipt receipt;
  receipt.log.id = 7;
  receipt.log.facts.call = "SP9AHW";
  receipt.log.facts.categories = "SINGLE-OP " + longWord;
  const std::vector<Mail> mails = ReceiptMailsOf(
      receipt,
      {"line 3: frequency \"" + longWord + "\" is not one; not read",
       std::string(3000, 'w') + " " + std::string(20, 'v') + " and many more words after it"},
      "a@b.example", std::nullopt);
  ASSERT_EQ(mails.size(), 1U);
  std::istringstream lines(mails[0].body);
  std::size_t longest = 0;
  for (std::string line; std::getline(lines, line);) longest = std::max(longest, line.size());
  EXPECT_LE(longest, kMailLine);
  EXPECT_NE(mails[0].body.find("Key: " + std::string(kKeyMark)), std::string::npos);
  // A text no blank breaks is broken at the limit all the same.
  const std::string broken = WithinLineLimit(std::string(2500, 'q') + "\n" + polish);
  std::istringstream parts(broken);
  for (std::string line; std::getline(parts, line);) EXPECT_LE(line.size(), kLongestMailLine);
  EXPECT_EQ(CountIn(broken, "\n"), 3U);
  // Broken where a character of any length still fits: 995 bytes.
  EXPECT_EQ(broken.find('\n'), kLongestMailLine - 3);
  EXPECT_EQ(RecipientKey("Victim+Tag@Example.ORG"), "victim@example.org");
  EXPECT_EQ(RecipientKey("plain@example.org"), "plain@example.org");
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
      MessageOf({"smtp://x", "robot@contest.example"},
                {"a@b", "Łódź", "one\ntwo", MailKind::kReceipt, "SP9AHW"}, 0);
  EXPECT_NE(message.find("Subject: =?UTF-8?B?xYHDs2TFug==?=\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("\r\n\r\none\r\ntwo\r\n"), std::string::npos) << message;
  EXPECT_NE(message.find("Date: Thu, 01 Jan 1970 00:00:00 +0000\r\n"), std::string::npos);
  EXPECT_NE(message.find("@contest.example>\r\nMIME-Version"), std::string::npos) << message;
  EXPECT_NE(message.find("From: <robot@contest.example>\r\nTo: <a@b>\r\n"), std::string::npos);
  // Printable ASCII, '~' and ' ' too, goes as it is.
  const std::string plain = MessageOf({"smtp://x", "robot@contest.example"},
                                      {"a@b", " SP9AHW~1 ", "x", MailKind::kReceipt, "SP9AHW"}, 0);
  EXPECT_NE(plain.find("Subject:  SP9AHW~1 \r\n"), std::string::npos) << plain;
}

}  // namespace
}  // namespace zeltra::robot
