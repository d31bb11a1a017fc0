#include "organiser/reading/Diagnostics.h"

#include <string>
#include <utility>

#include "core/text/Utf8.h"

namespace zeltra::organiser {
namespace {

constexpr std::string_view kClearLine = "\r\x1b[K";

}  // namespace

Diagnostics::Diagnostics(std::ostream& errors, std::string program, bool quiet,
                         bool progressIsShown)
    : errors_(errors),
      program_(std::move(program)),
      quiet_(quiet),
      progressIsShown_(progressIsShown) {}

void Diagnostics::Progress(std::size_t index, std::size_t count, std::string_view name) {
  if (!progressIsShown_) return;
  errors_ << "\rScoring " << (index + 1) << " of " << count << ": " << Printable(name) << "\x1b[K"
          << std::flush;
  progressShowing_ = true;
}

void Diagnostics::ClearProgress() {
  if (!progressShowing_) return;
  errors_ << kClearLine << std::flush;
  progressShowing_ = false;
}

void Diagnostics::Warning(std::string_view line, std::string_view kind) {
  ++byKind_[std::string(kind)];
  if (quiet_) return;
  ClearProgress();
  errors_ << Printable(line) << "\n";
}

void Diagnostics::Error(std::string_view line) {
  ClearProgress();
  errors_ << Printable(line) << "\n";
}

void Diagnostics::Failure(std::string_view text) {
  Error(program_ + ": " + std::string(text));
}

void Diagnostics::Count(std::string_view kind, std::size_t count) {
  if (count > 0) byKind_[std::string(kind)] += count;
}

void Diagnostics::Absorb(std::string_view told, const std::map<std::string, std::size_t>& counts) {
  if (!told.empty()) {
    ClearProgress();
    errors_ << told;
  }
  for (const auto& [kind, count] : counts) byKind_[kind] += count;
}

void Diagnostics::Finish() {
  ClearProgress();
  if (byKind_.empty()) return;
  std::string summary;
  for (const auto& [kind, count] : byKind_)
    summary += (summary.empty() ? "" : ", ") + std::to_string(count) + " (" + kind + ")";
  errors_ << "Warnings: " << summary << (quiet_ ? " (--quiet: not listed)" : "") << "\n";
}

}  // namespace zeltra::organiser
