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

LogScore ReplayContacts(const ContactList& contacts, const std::vector<std::uint32_t>& order,
                        const OwnStation& own,
                        const std::function<void(const ContactOutcome&)>& each) {
  Scorer scorer;
  scorer.Reserve(order.size());
  for (const std::uint32_t index : order) {
    const Contact contact = contacts.At(index);
    if (!each) {
      scorer.Record(contact, own);
      continue;
    }
    const std::size_t voivodeships = scorer.VoivList().size();
    const std::size_t dxccs = scorer.DXCCList().size();
    const std::size_t continents = scorer.ContinentList().size();
    const std::int32_t points = scorer.Record(contact, own);
    each({.position = contacts.PositionAt(index),
          .contact = contact,
          .points = points,
          .voivodeship = scorer.VoivList().size() > voivodeships,
          .dxcc = scorer.DXCCList().size() > dxccs,
          .continent = scorer.ContinentList().size() > continents});
  }
  return ScoreOf(scorer.Statistics());
}

}  // namespace zeltra
