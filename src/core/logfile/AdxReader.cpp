#include "core/logfile/AdxReader.h"

#include <expat.h>

#include <optional>

#include "core/text/Ascii.h"
#include "core/text/ReadChunk.h"

namespace zeltra {
namespace {

struct ParserFree {
  void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

// The expat parser and what it has seen of the record being read.
struct AdxReader::Parser {
  explicit Parser(std::deque<AdifRecord>& readyRecords) : ready(readyRecords) {
    XML_SetUserData(xml.get(), this);
    XML_SetElementHandler(xml.get(), &Parser::Start, &Parser::End);
    XML_SetCharacterDataHandler(xml.get(), &Parser::Text);
    XML_SetStartDoctypeDeclHandler(xml.get(), &Parser::Doctype);
  }

  static Parser& Of(void* data) { return *static_cast<Parser*>(data); }

  static void Start(void* data, const XML_Char* name, const XML_Char**) {
    Parser& self = Of(data);
    ++self.depth;
    const std::string_view element(name);
    if (!self.inRecord) {
      if (EqualsIgnoringAsciiCase(element, "RECORD")) {
        self.inRecord = true;
        self.recordDepth = self.depth;
        self.record.Clear();
      }
      return;
    }
    if (self.depth == self.recordDepth + 1) {
      self.field = AdifFieldNamed(element);
      self.value.clear();
    }
  }

  static void End(void* data, const XML_Char*) {
    Parser& self = Of(data);
    if (self.inRecord && self.depth == self.recordDepth + 1 && self.field) {
      if (self.value.size() > kLongestAdifValue && self.record.error.empty())
        self.record.error =
            "field " + std::string(kAdifFieldNames[static_cast<std::size_t>(*self.field)]) +
            " is longer than a field may be (" + std::to_string(kLongestAdifValue) + " bytes)";
      else
        self.record.Set(*self.field, self.value);
      self.field.reset();
    } else if (self.inRecord && self.depth == self.recordDepth) {
      self.inRecord = false;
      self.record.number = ++self.records;
      self.ready.push_back(std::move(self.record));
      self.record = AdifRecord{};
    }
    --self.depth;
  }

  static void Text(void* data, const XML_Char* text, int length) {
    Parser& self = Of(data);
    if (!self.inRecord || !self.field || self.depth != self.recordDepth + 1) return;
    if (self.value.size() <= kLongestAdifValue)
      self.value.append(text, static_cast<std::size_t>(length));
  }

  static void Doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    Parser& self = Of(data);
    self.refused = "a document type declaration has no place in an ADX log";
    XML_StopParser(self.xml.get(), XML_FALSE);
  }

  // The error the parser stopped with, in a record of its own.
  void Fail() {
    AdifRecord failed;
    failed.number = ++records;
    failed.endsReading = true;
    failed.error = !refused.empty() ? refused
                                    : "XML error at line " +
                                          std::to_string(XML_GetCurrentLineNumber(xml.get())) +
                                          ": " + XML_ErrorString(XML_GetErrorCode(xml.get()));
    ready.push_back(std::move(failed));
  }

  std::unique_ptr<XML_ParserStruct, ParserFree> xml{XML_ParserCreate("UTF-8")};
  std::deque<AdifRecord>& ready;
  AdifRecord record;
  std::optional<AdifField> field;
  std::string value;
  std::string refused;
  std::size_t depth = 0;
  std::size_t recordDepth = 0;
  std::size_t records = 0;
  bool inRecord = false;
};

AdxReader::AdxReader(std::istream& in) : in_(in), parser_(std::make_unique<Parser>(ready_)) {}

AdxReader::~AdxReader() = default;

bool AdxReader::Next(AdifRecord& record) {
  std::string chunk(kReadChunk, '\0');
  while (ready_.empty() && !finished_) {
    in_.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<int>(in_.gcount());
    const bool last = got == 0 || !in_;
    if (XML_Parse(parser_->xml.get(), chunk.data(), got, last ? XML_TRUE : XML_FALSE) !=
        XML_STATUS_OK) {
      parser_->Fail();
      finished_ = true;
    }
    if (last) finished_ = true;
  }
  if (ready_.empty()) return false;
  record = std::move(ready_.front());
  ready_.pop_front();
  return true;
}

}  // namespace zeltra
