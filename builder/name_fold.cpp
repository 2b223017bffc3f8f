#include "builder/name_fold.h"

#include <array>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "builder/settings_index.h"
#include "builder/utf8proc_calls.h"

namespace {

constexpr auto kFoldOptions =
    static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD);

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

size_t FindNonAscii(const std::string& text, size_t from) {
  while (from < text.size() && IsAscii(text[from])) ++from;
  return from;
}

size_t FindAscii(const std::string& text, size_t from) {
  while (from < text.size() && !IsAscii(text[from])) ++from;
  return from;
}

// One piece of a name in NFC with full case folding, as UTF-8. Names are short, so most pieces
// fold on the stack, without the two allocations of utf8proc_map.
class FoldedPiece {
 public:
  // False when `piece` is not UTF-8, or utf8proc cannot be loaded.
  bool Fold(std::string_view piece) {
    if (!utf8proc_) return false;
    points_ = local_.data();
    utf8proc_ssize_t count = Decompose(piece, points_, local_.size());
    if (count >= static_cast<utf8proc_ssize_t>(local_.size())) {
      heap_.resize(static_cast<size_t>(count) + 1);
      points_ = heap_.data();
      count = Decompose(piece, points_, heap_.size());
    }
    size_ = count < 0 ? count : utf8proc_->reencode(points_, count, kFoldOptions);
    return size_ >= 0;
  }
  const char* data() const { return reinterpret_cast<const char*>(points_); }
  size_t size() const { return static_cast<size_t>(size_); }

 private:
  // Leaves the last slot free: re-encoding in place needs one byte more. Returns the code points
  // the piece takes, which may exceed the slots, or a negative utf8proc error.
  utf8proc_ssize_t Decompose(std::string_view piece, utf8proc_int32_t* points, size_t slots) const {
    return utf8proc_->decompose(reinterpret_cast<const utf8proc_uint8_t*>(piece.data()),
                              static_cast<utf8proc_ssize_t>(piece.size()), points,
                              static_cast<utf8proc_ssize_t>(slots) - 1, kFoldOptions);
  }

  const Utf8procCalls* utf8proc_ = Utf8proc();
  std::array<utf8proc_int32_t, 64> local_;
  std::vector<utf8proc_int32_t> heap_;
  utf8proc_int32_t* points_ = nullptr;
  utf8proc_ssize_t size_ = 0;
};

// Pieces folded lately, with their folds. The accented letters of a table's names recur (the
// same syllables, the same words), and a lookup costs a small part of what utf8proc does.
class RecentPieces {
 public:
  // Sets `out` to the fold of `piece` (valid until the next call); false when it is not UTF-8.
  bool Fold(std::string_view piece, std::string_view& out) {
    if (piece.size() > kLongest) return FoldAnew(piece, out);
    Slot& slot = slots_[std::hash<std::string_view>{}(piece) % slots_.size()];
    if (slot.used && slot.piece == piece) {
      out = slot.folded;
      return true;
    }
    if (!FoldAnew(piece, out)) return false;
    slot.piece.assign(piece);
    slot.folded.assign(out);
    slot.used = true;
    out = slot.folded;
    return true;
  }

 private:
  static constexpr size_t kLongest = 24;  // longer pieces are rare: folded every time

  bool FoldAnew(std::string_view piece, std::string_view& out) {
    if (!folder_.Fold(piece)) return false;
    out = std::string_view(folder_.data(), folder_.size());
    return true;
  }

  struct Slot {
    bool used = false;
    std::string piece;
    std::string folded;
  };
  std::array<Slot, 256> slots_;
  FoldedPiece folder_;
};

}  // namespace

void FoldNameInPlace(std::string& text) {
  FoldAsciiInPlace(text);
  size_t run = FindNonAscii(text, 0);
  if (run == text.size()) return;
  // Only the non-ASCII runs go through utf8proc, each with the ASCII character before it (a
  // combining mark may join it). Folding and composing never reach across an ASCII character,
  // so the pieces fold exactly as the whole name would, at a fraction of the cost. A piece that
  // keeps its length is written in place; once one does not, the rest is rebuilt.
  thread_local RecentPieces recent;
  std::string_view folded;
  std::string rebuilt;
  size_t copied = 0;  // what of `text` the rebuilt name holds so far
  bool rebuilding = false;
  while (run < text.size()) {
    const size_t piece = run == 0 ? 0 : run - 1;
    const size_t end = FindAscii(text, run);
    // Not UTF-8 (the readers hand out UTF-8, so only a damaged text): the piece stays as it is.
    if (recent.Fold(std::string_view(text).substr(piece, end - piece), folded)) {
      if (!rebuilding && folded.size() == end - piece) {
        std::memcpy(text.data() + piece, folded.data(), folded.size());
      } else {
        if (!rebuilding) rebuilt.reserve(text.size() + 16);
        rebuilding = true;
        rebuilt.append(text, copied, piece - copied).append(folded.data(), folded.size());
        copied = end;
      }
    }
    run = FindNonAscii(text, end);
  }
  if (!rebuilding) return;
  rebuilt.append(text, copied);
  text = std::move(rebuilt);
}

std::string FoldName(std::string_view text) {
  std::string folded(text);
  FoldNameInPlace(folded);
  return folded;
}
