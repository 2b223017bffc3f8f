// The workbook-globals substream reader (`Workbook`) and the records it keeps: WINDOW1, FONT,
// XF, STYLE, FORMAT, BOUNDSHEET and the shared string table, read across its CONTINUE
// records. The Workbook owns every record it read; XlsBook owns the Workbook.
#pragma once

#include <cstdint>
#include <vector>

#include "xls/big_allocator.h"

#include "xls/record.h"
#include "xls/strings.h"

namespace Xls {

class Workbook {
 public:
  class Window1 : public Record {
   public:
    Window1() : Record(RecordCode::kWindow1, 18) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t horizontalPosition = 0, verticalPosition = 0, width = 0, height = 0, options = 0,
             activeSheet = 0, firstVisibleTab = 0, selectedSheetCount = 1, tabBarWidth = 0;
  };

  class Font : public Record {
   public:
    Font() : Record(RecordCode::kFont) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t height = 0, options = 0, colourIndex = 0, weight = 0, escapementType = 0;
    uint8_t underlineType = 0, family = 0, characterSet = 0, reserved = 0;
    SmallString name;
  };

  class XF : public Record {
   public:
    XF() : Record(RecordCode::kXF, 20) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t fontIndex = 0, formatIndex = 0, protectionType = 0;
    uint8_t alignment = 0, rotation = 0, textProperties = 0, usedAttributes = 0;
    uint32_t borderLines = 0, colour1 = 0;
    uint16_t colour2 = 0;
  };

  class Style : public Record {
   public:
    Style() : Record(RecordCode::kStyle) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t xfIndex = 0;
    uint8_t builtInIdentifier = 0, outlineLevel = 0;
    LargeString name;
  };

  class Format : public Record {
   public:
    Format() : Record(RecordCode::kFormat) {}
    uint32_t Read(ByteSpan bytes) override;
    uint16_t formatIndex = 0;
    LargeString formatString;
  };

  class BoundSheet : public Record {
   public:
    BoundSheet() : Record(RecordCode::kBoundSheet) {}
    uint32_t Read(ByteSpan bytes) override;
    uint32_t bofPosition = 0;
    uint8_t visibility = 0, sheetType = 0;
    SmallString name;
  };

  class SharedStringTable : public Record {
   public:
    SharedStringTable() : Record(RecordCode::kSST, 8) {}
    uint32_t Read(ByteSpan bytes) override;
    uint32_t totalStrings = 0;
    uint32_t uniqueStrings = 0;
    std::vector<LargeString> strings;  // only the strings whose bytes were present

    // Set before Read by a reader that only wants the texts (a book): the strings then go
    // to `texts`, terminated and packed, instead of one LargeString each in `strings`.
    bool compact = false;
    struct Texts {
      BigVector<char> narrow;
      std::vector<char16_t> wide;
      BigVector<uint32_t> at;  // per string: offset << 1, | 1 when in `wide`
      size_t size() const { return at.size(); }
      // Appends one string, false (nothing added) past the 31-bit offsets: characters as
      // they lie in the file (8-bit, or 16-bit little-endian when `isWide`), or a string read.
      bool Add(ByteSpan chars, bool isWide);
      bool Add(const LargeString& s);
      // The terminated text of string i: one of the two is set (the other null).
      const char* Narrow(size_t i) const { return at[i] & 1 ? nullptr : narrow.data() + (at[i] >> 1); }
      const char16_t* Wide(size_t i) const { return at[i] & 1 ? wide.data() + (at[i] >> 1) : nullptr; }

     private:
      bool Fits(size_t narrowUnits, size_t wideUnits) const;
      bool AddNarrow(const char* chars, size_t units);
      template <typename UnitAt>
      bool AddWide(size_t units, UnitAt unitAt);
    } texts;

   private:
    // Reads the counts and the strings from the table's data, where CONTINUE
    // records began at continueOffsets: a joined copy or a view of the stream's records.
    template <typename Bytes>
    void Decode(const Bytes& d);
  };

  class ExtSST : public Record {
   public:
    ExtSST() : Record(RecordCode::kExtSST, 2) {}
    uint16_t stringsPerBucket = 0;
  };

  // Reads from the globals BOF to its EOF (or the next sheet's BOF, or the end of the stream);
  // returns the bytes consumed.
  uint32_t Read(ByteSpan bytes);

  // Set before Read by a reader that decodes the shared strings itself, on another thread
  // while it reads the sheets: Read then only frames the table, leaving its bytes (which
  // live as long as the stream) in `pendingSst` for sst.Read.
  bool deferSharedStrings = false;
  ByteSpan pendingSst;

  BOF bof;
  Window1 window1;
  std::vector<Font> fonts;
  std::vector<XF> xfs;
  std::vector<Style> styles;
  std::vector<Format> formats;
  std::vector<BoundSheet> boundSheets;
  SharedStringTable sst;
  ExtSST extSST;
  Eof eof;
  // A FILEPASS record was met: the rest of the stream is encrypted and is not read as records.
  bool encrypted = false;
};

}  // namespace Xls
