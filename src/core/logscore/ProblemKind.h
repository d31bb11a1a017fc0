#pragma once

namespace zeltra {

// What sort of problem a log's line or record has: warnings are counted by
// it, and a reader of the counts is told each sort in its own words.
enum class ProblemKind {
  kSkipped,                   // a line or record that cannot be scored
  kReadingEnded,              // the file could not be read past here
  kFieldGivenTwice,           // ADIF: a field twice in one record
  kBandAndFrequencyDisagree,  // ADIF: BAND and FREQ name different bands
  kFrequencyUnreadable,       // ADIF: FREQ is no number, BAND counts
  kCallWithoutCountry,        // the country file knows no country of the call
  kManyCallsWithoutCountry,   // so many that the country file may be wrong
  kTextTooLong,               // a text longer than the plug-in's record
  kOtherOwnCall,              // ADIF: another own call than the first record's
  kOwnCallNotHeaders,         // Cabrillo: another own call than the header's
};

}  // namespace zeltra
