#pragma once
// The toolkit fonts of a window backend: each described by createFont under
// a new id, its platform object (Made) made on first use, counted per
// control that shows it, and freed once given back and shown nowhere. Ids 1
// to 3 belong to the toolkit's own fonts, which are never given back.
// Every member may be called from any thread.
#include <map>
#include <mutex>

#include "platform/dialog.h"

template <typename Description, typename Made>
class FontTable {
 public:
  using Free = void (*)(Made);
  explicit FontTable(Free free) : free_(free) {}

  FontId add(const Description& description) {
    std::lock_guard<std::mutex> hold(lock_);
    const FontId id = next_++;
    fonts_[id].description = description;
    return id;
  }

  // The font's platform object, made by make(description) on first use;
  // Made{} when there is no such font or it cannot be made. make runs with
  // the table unlocked; when two threads make one at once, the first kept
  // wins and the other is freed.
  template <typename Make>
  Made made(FontId font, Make make) {
    Description description;
    {
      std::lock_guard<std::mutex> hold(lock_);
      auto found = fonts_.find(font);
      if (found == fonts_.end()) return Made{};
      if (found->second.made != Made{}) return found->second.made;
      description = found->second.description;
    }
    const Made fresh = make(description);
    if (fresh == Made{}) return Made{};

    std::lock_guard<std::mutex> hold(lock_);
    auto found = fonts_.find(font);
    if (found == fonts_.end()) {
      free_(fresh);
      return Made{};
    }
    if (found->second.made == Made{}) {
      found->second.made = fresh;
    } else {
      free_(fresh);
    }
    return found->second.made;
  }

  // One control more (+1) or fewer (-1) shows the font; 0 is no font.
  void countUser(FontId font, int change) {
    std::lock_guard<std::mutex> hold(lock_);
    auto found = fonts_.find(font);
    if (found == fonts_.end()) return;
    found->second.users += change;
    if (found->second.users < 0) found->second.users = 0;
    freeIfUnused(found);
  }

  // Given back: freed now, or when the last control stops showing it.
  void release(FontId font) {
    if (font < kFirstProgramFont) return;
    std::lock_guard<std::mutex> hold(lock_);
    auto found = fonts_.find(font);
    if (found == fonts_.end()) return;
    found->second.released = true;
    freeIfUnused(found);
  }

 private:
  static constexpr FontId kFirstProgramFont = 4;

  struct Entry {
    Description description;
    Made made{};
    int users = 0;  // controls showing the font
    bool released = false;  // given back while still shown
  };

  // Called with the lock held.
  void freeIfUnused(typename std::map<FontId, Entry>::iterator font) {
    if (!font->second.released || font->second.users > 0) return;
    if (font->second.made != Made{}) free_(font->second.made);
    fonts_.erase(font);
  }

  std::mutex lock_;
  std::map<FontId, Entry> fonts_;
  FontId next_ = kFirstProgramFont;
  Free free_;
};
