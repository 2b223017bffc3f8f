#include "xls/workbook_globals.h"

#include <algorithm>

#include "xls/segmented_bytes.h"

namespace Xls {

uint32_t Workbook::Window1::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  uint16_t* fields[] = {&horizontalPosition, &verticalPosition, &width,
                        &height,             &options,          &activeSheet,
                        &firstVisibleTab,    &selectedSheetCount, &tabBarWidth};
  for (size_t i = 0; i < 9; ++i) *fields[i] = d.U16(2 * i);
  return n;
}

uint32_t Workbook::Font::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  height = d.U16(0);
  options = d.U16(2);
  colourIndex = d.U16(4);
  weight = d.U16(6);
  escapementType = d.U16(8);
  underlineType = d.U8(10);
  family = d.U8(11);
  characterSet = d.U8(12);
  reserved = d.U8(13);
  name.Read(d.Sub(14));
  return n;
}

uint32_t Workbook::XF::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  fontIndex = d.U16(0);
  formatIndex = d.U16(2);
  protectionType = d.U16(4);
  alignment = d.U8(6);
  rotation = d.U8(7);
  textProperties = d.U8(8);
  usedAttributes = d.U8(9);
  borderLines = d.U32(10);
  colour1 = d.U32(14);
  colour2 = d.U16(18);
  return n;
}

uint32_t Workbook::Style::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  xfIndex = d.U16(0);
  if (xfIndex & 0x8000) {
    builtInIdentifier = d.U8(2);
    outlineLevel = d.U8(3);
  } else {
    name.Read(d.Sub(2));
  }
  return n;
}

uint32_t Workbook::Format::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  formatIndex = Data().U16(0);
  formatString.Read(Data().Sub(2));
  return n;
}

uint32_t Workbook::BoundSheet::Read(ByteSpan bytes) {
  const uint32_t n = Record::Read(bytes);
  const ByteSpan d = Data();
  bofPosition = d.U32(0);
  visibility = d.U8(4);
  sheetType = d.U8(5);
  name.Read(d.Sub(6));
  return n;
}

// Offsets are 31 bits: a table past 2 GiB of text keeps the strings before that point.
bool Workbook::SharedStringTable::Texts::Fits(size_t narrowUnits, size_t wideUnits) const {
  const size_t limit = size_t{1} << 31;
  return narrow.size() + narrowUnits + 1 < limit && wide.size() + wideUnits + 1 < limit;
}

bool Workbook::SharedStringTable::Texts::AddNarrow(const char* chars, size_t units) {
  if (!Fits(units, 0)) return false;
  at.push_back(static_cast<uint32_t>(narrow.size() << 1));
  narrow.insert(narrow.end(), chars, chars + units);
  narrow.push_back('\0');
  return true;
}

template <typename UnitAt>
bool Workbook::SharedStringTable::Texts::AddWide(size_t units, UnitAt unitAt) {
  if (!Fits(0, units)) return false;
  at.push_back(static_cast<uint32_t>(wide.size() << 1 | 1));
  for (size_t i = 0; i < units; ++i) wide.push_back(unitAt(i));
  wide.push_back(u'\0');
  return true;
}

bool Workbook::SharedStringTable::Texts::Add(ByteSpan chars, bool isWide) {
  if (!isWide) return AddNarrow(reinterpret_cast<const char*>(chars.data()), chars.size());
  return AddWide(chars.size() / 2, [&chars](size_t i) { return static_cast<char16_t>(chars.U16(2 * i)); });
}

bool Workbook::SharedStringTable::Texts::Add(const LargeString& s) {
  if (!s.IsWide()) return AddNarrow(s.narrowText.data(), s.narrowText.size());
  return AddWide(s.wideText.size(), [&s](size_t i) { return s.wideText[i]; });
}

uint32_t Workbook::SharedStringTable::Read(ByteSpan bytes) {
  if (compact) {
    // Packed straight from the stream's records: no joined copy of a table of megabytes.
    SegmentedBytes d;
    code = bytes.U16(0);
    std::vector<uint8_t>().swap(data);
    recordSize = d.Frame(bytes, continueOffsets);
    dataSize = static_cast<uint32_t>(d.size());
    Decode(d);
    return recordSize;
  }
  const uint32_t n = Record::Read(bytes);
  Decode(Data());
  std::vector<uint8_t>().swap(data);  // the strings own their text
  return n;
}

template <typename Bytes>
void Workbook::SharedStringTable::Decode(const Bytes& d) {
  totalStrings = d.U32(0);
  uniqueStrings = d.U32(4);
  strings.clear();
  texts = Texts();
  // Every string takes at least its 3 header bytes: never make more than the data can hold.
  const size_t room = d.size() > 8 ? (d.size() - 8) / 3 : 0;
  if (compact) {
    // An index of 512 KiB or more is given a whole mapped block, on huge pages: filled page
    // by page from the heap, 187k strings' offsets cost 190 page faults.
    const size_t index = std::min<size_t>(uniqueStrings, room);
    constexpr size_t kMappedIndex = BigAllocator<uint32_t>::kMapped / sizeof(uint32_t);
    texts.at.reserve(index >= kMappedIndex / 4 ? std::max(index, kMappedIndex) : index);
    texts.narrow.reserve(d.size());  // the characters take fewer bytes than the record
  } else {
    strings.reserve(std::min<size_t>(uniqueStrings, room));
  }
  LargeString scratch;  // the string being read when packing
  size_t pos = 8;
  size_t next = 0;
  const std::vector<uint32_t>& bounds = continueOffsets;
  for (uint32_t i = 0; i < uniqueStrings && pos < d.size(); ++i) {
    while (next < bounds.size() && bounds[next] <= pos) ++next;
    const uint16_t count = d.U16(pos);
    const uint8_t flags = d.U8(pos + 2);
    size_t h = pos + 3 + ((flags & 0x08) ? 2 : 0) + ((flags & 0x04) ? 4 : 0);
    const size_t width = (flags & 1) ? 2 : 1;
    const bool unsplit = next >= bounds.size() || h + count * width <= bounds[next];
    // Most strings lie whole in one segment: those are packed straight from the record.
    // (A flags byte with bit 7 set keeps 8-bit storage for 16-bit units: the general path.)
    if (compact && unsplit && !(flags & 0x80)) {
      if (!texts.Add(d.Sub(h, size_t{count} * width), flags & 1)) break;
      if (count == 0) {
        pos += std::min<size_t>(3, d.size() - pos);
      } else {
        const uint16_t runs = (flags & 0x08) ? d.U16(pos + 3) : 0;
        const uint32_t phonetic = (flags & 0x04) ? d.U32(pos + 3 + ((flags & 0x08) ? 2 : 0)) : 0;
        pos = std::min<size_t>(h + size_t{count} * width + 4 * size_t{runs} + phonetic, d.size());
      }
      continue;
    }
    if (compact) {
      scratch.wideText.clear();
      scratch.narrowText.clear();
      scratch.flags = -1;
      scratch.richTextRuns = 0;
      scratch.phoneticSize = 0;
    }
    LargeString& s = compact ? scratch : strings.emplace_back();
    if (unsplit) {
      // Read from its header through its characters; the runs and phonetic block after
      // them are skipped as LargeString::Read skips them, clamped to the data.
      s.Read(d.Sub(pos, h - pos + size_t{count} * width));
      const size_t whole = count == 0 ? 3 : h - pos + size_t{count} * width + 4 * size_t{s.richTextRuns} + s.phoneticSize;
      pos += std::min(whole, d.size() - pos);
    } else {
      s.flags = static_cast<int8_t>(flags);
      s.richTextRuns = (flags & 0x08) ? d.U16(pos + 3) : 0;
      s.phoneticSize = (flags & 0x04) ? d.U32(pos + 3 + ((flags & 0x08) ? 2 : 0)) : 0;
      // A header cut by a boundary is not expected; its tail is read as it lies.
      pos = ReadSplitCharacters(d, bounds, next, h, count, s);
      pos += 4 * size_t{s.richTextRuns} + s.phoneticSize;
    }
    if (compact && !texts.Add(s)) break;
  }
  // The strings own their text: nothing of the record is kept.
  std::vector<uint32_t>().swap(continueOffsets);
  // Unused reserved room is never touched, so costs no memory: no shrinking copy.
}

uint32_t Workbook::Read(ByteSpan bytes) {
  size_t pos = 0;
  while (pos < bytes.size()) {
    const ByteSpan at = bytes.Sub(pos);
    const uint16_t code = at.U16(0);
    if (code == RecordCode::kEof) return static_cast<uint32_t>(pos + EofSize(at));
    uint32_t used = 0;
    switch (code) {
      case RecordCode::kBOF:
        // A sheet's BOF: the globals ended without their EOF.
        if (pos > 0 && OpensTopLevelSubstream(at)) return static_cast<uint32_t>(pos);
        used = bof.Read(at);
        break;
      case RecordCode::kWindow1: used = window1.Read(at); break;
      case RecordCode::kFont: used = fonts.emplace_back().Read(at); break;
      case RecordCode::kXF: used = xfs.emplace_back().Read(at); break;
      case RecordCode::kStyle: used = styles.emplace_back().Read(at); break;
      case RecordCode::kFormat: used = formats.emplace_back().Read(at); break;
      case RecordCode::kBoundSheet: used = boundSheets.emplace_back().Read(at); break;
      case RecordCode::kSST:
        if (deferSharedStrings) {
          used = Record::Skip(at);  // frames the table exactly as sst.Read would
          pendingSst = at.Sub(0, used);
        } else {
          used = sst.Read(at);
        }
        break;
      case RecordCode::kFilePass:
        // Everything after FILEPASS is ciphertext: reading it as records yields garbage.
        encrypted = true;
        return static_cast<uint32_t>(bytes.size());
      default: used = Record::Skip(at); break;
    }
    pos += used;
  }
  return static_cast<uint32_t>(pos);
}

}  // namespace Xls
