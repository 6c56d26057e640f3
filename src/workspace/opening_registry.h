// The titles opening now, each once: opening a title again while it still
// opens starts no second pass. One timer drives them all.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "workspace/title_opening.h"

namespace vantrel {

class Openings {
 public:
  // `title` names the title (its number, say) the same way every time.
  bool IsOpening(const std::string& title) const;
  // Takes the opening, to be started by the next Step, unless the title is
  // still opening: then false, and the opening is dropped unstarted.
  bool Begin(const std::string& title, std::unique_ptr<TitleOpening> opening);

  struct Finished {
    std::string title;
    std::vector<EntryOutcome> outcomes;
    std::string report;  // the box to show; "" when there is nothing to say
  };
  // Steps every opening; those done leave and are returned. A Step from
  // within a Step (while a start shows a box) does nothing.
  std::vector<Finished> Step();
  // The earliest of the openings' wakes; nothing when none is opening.
  std::optional<std::int64_t> NextWake() const;

 private:
  std::vector<std::pair<std::string, std::unique_ptr<TitleOpening>>> running_;
  bool busy_ = false;
};

}  // namespace vantrel
