#include "core/logscore/LogScore.h"

#include "core/scoring/Scorer.h"

namespace zeltra {

LogScore ScoreOf(const BandStatistics& statistics) {
  LogScore score;
  score.summary.WriteHeadings();
  score.summary.Fill(statistics);
  for (const BandStatistic& band : statistics.Items()) {
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
      voivodeships_(scorer.VoivList().size()),
      dxccs_(scorer.DXCCList().size()),
      continents_(scorer.ContinentList().size()) {}

ContactOutcome MultiplierWatch::Outcome(std::size_t position, const Contact& contact,
                                        std::int32_t points) {
  ContactOutcome outcome{.position = position,
                         .contact = contact,
                         .points = points,
                         .voivodeship = scorer_.VoivList().size() > voivodeships_,
                         .dxcc = scorer_.DXCCList().size() > dxccs_,
                         .continent = scorer_.ContinentList().size() > continents_};
  voivodeships_ = scorer_.VoivList().size();
  dxccs_ = scorer_.DXCCList().size();
  continents_ = scorer_.ContinentList().size();
  return outcome;
}

LogScore ReplayContacts(const ContactList& contacts, const std::vector<std::uint32_t>& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each) {
  Scorer scorer;
  scorer.Reserve(order.size());
  MultiplierWatch watch(scorer);
  for (const std::uint32_t index : order) {
    const Contact contact = contacts.At(index);
    const std::int32_t points = scorer.Record(contact, own);
    if (each) each(watch.Outcome(contacts.PositionAt(index), contact, points));
  }
  return ScoreOf(scorer.Statistics());
}

}  // namespace zeltra
