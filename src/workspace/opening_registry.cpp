// The openings under way, one per title.
#include "workspace/opening_registry.h"

#include <algorithm>

namespace vantrel {

bool Openings::IsOpening(const std::string& title) const {
  return std::any_of(running_.begin(), running_.end(),
                     [&](const auto& running) { return running.first == title; });
}

bool Openings::Begin(const std::string& title, std::unique_ptr<TitleOpening> opening) {
  if (!opening || IsOpening(title)) return false;
  running_.emplace_back(title, std::move(opening));
  return true;
}

std::vector<Openings::Finished> Openings::Step() {
  std::vector<Finished> finished;
  if (busy_) return finished;
  {
    busy_ = true;
    const struct Release {
      bool& flag;
      ~Release() { flag = false; }
    } release{busy_};
    // By index: a start's box may let another title begin meanwhile.
    for (std::size_t i = 0; i < running_.size(); ++i) running_[i].second->Step();
  }
  for (auto& [title, opening] : running_)
    if (opening->Done()) finished.push_back({title, opening->Outcomes(), opening->ReportText()});
  std::erase_if(running_, [](const auto& running) { return running.second->Done(); });
  return finished;
}

std::optional<std::int64_t> Openings::NextWake() const {
  std::optional<std::int64_t> wake;
  for (const auto& running : running_)
    if (const auto at = running.second->NextWake()) wake = wake ? std::min(*wake, *at) : *at;
  return wake;
}

}  // namespace vantrel
