#include "core/logscore/LogScore.h"

#include <optional>
#include <string>

#include "core/logscore/CallRunDuplicates.h"
#include "core/scoring/Scorer.h"

namespace zeltra {
namespace {

// How many contacts ahead of the one replayed the list is asked to fetch
// their texts, and twice as far ahead where they are kept: enough to hide
// a trip to memory behind the scoring of those between.
constexpr std::size_t kPrefetchAhead = 8;

void PrefetchAhead(const ContactList& contacts, const std::vector<std::uint32_t>& order,
                   std::size_t i) {
  if (i + 2 * kPrefetchAhead < order.size()) contacts.PrefetchPlace(order[i + 2 * kPrefetchAhead]);
  if (i + kPrefetchAhead < order.size()) contacts.PrefetchTexts(order[i + kPrefetchAhead]);
}

// Replays the contacts in order through scorer; record answers each one's
// points (or kDuplicate), recording it as it does.
template <class Record>
LogScore Replay(Scorer& scorer, const ContactList& contacts,
                const std::vector<std::uint32_t>& order,
                const std::function<void(const ContactOutcome&)>& each, Record record) {
  MultiplierWatch watch(scorer);
  for (std::size_t i = 0; i < order.size(); ++i) {
    PrefetchAhead(contacts, order, i);
    const Contact contact = contacts.At(order[i]);
    const std::int32_t points = record(contact);
    if (each) each(watch.Outcome(contacts.PositionAt(order[i]), contact, points));
  }
  return ScoreOf(scorer.statistics());
}

}  // namespace

LogScore ScoreOf(const BandStatistics& statistics) {
  LogScore score;
  score.summary.WriteHeadings();
  score.summary.Fill(statistics);
  for (const BandStatistic& band : statistics.items()) {
    score.qsos += band.qsos;
    score.points += band.points;
    score.voivodeships += band.voivodeships;
    score.dxccs += band.dxccs;
    score.continents += band.continents;
  }
  return score;
}

MultiplierWatch::MultiplierWatch(const Scorer& scorer)
    : scorer_(scorer),
      voivodeships_(scorer.voivodeships().size()),
      dxccs_(scorer.dxccs().size()),
      continents_(scorer.continents().size()) {}

ContactOutcome MultiplierWatch::Outcome(std::size_t position, const Contact& contact,
                                        std::int32_t points) {
  ContactOutcome outcome{.position = position,
                         .contact = contact,
                         .points = points,
                         .voivodeship = scorer_.voivodeships().size() > voivodeships_,
                         .dxcc = scorer_.dxccs().size() > dxccs_,
                         .continent = scorer_.continents().size() > continents_};
  voivodeships_ = scorer_.voivodeships().size();
  dxccs_ = scorer_.dxccs().size();
  continents_ = scorer_.continents().size();
  return outcome;
}

LogScore ReplayContacts(const ContactList& contacts, const std::vector<std::uint32_t>& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each) {
  Scorer scorer;
  scorer.Reserve(order.size());
  return Replay(scorer, contacts, order, each,
                [&](const Contact& contact) { return scorer.Record(contact, own); });
}

LogScore ReplayContacts(const ContactList& contacts, const CallSignOrder& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each) {
  Scorer scorer;
  CallRunDuplicates sameCall;
  std::optional<std::string> callSign;  // the run's; none before the first contact
  return Replay(scorer, contacts, order.Indexes(), each, [&](const Contact& contact) {
    if (contact.callSign != callSign) {
      callSign = contact.callSign;
      sameCall.Clear();
    }
    return sameCall.Add(contact.band, contact.mode) ? scorer.RecordKnownNew(contact, own)
                                                    : kDuplicate;
  });
}

}  // namespace zeltra
