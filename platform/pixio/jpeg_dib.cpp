// A JPEG decoded straight into the DIB block the reading exports return: no
// picture-sized copy between the decoder and the block.
#include <cstring>

#include "formats.h"
#include "unique_handle.h"

namespace pixio {

namespace {

/// Rows into a new DIB block with the header and grey colour table ToDib
/// writes. The rows are not cleared first: the decoder writes every byte of
/// every row, and TopRow clears the row's padding.
class DibRows final : public JpegRowTarget {
 public:
  ~DibRows() override {
    if (rows_) GlobalUnlock(block_.get());
  }

  /// A turned picture is decoded whole and turned before it becomes a DIB.
  bool Accepts(const JpegLayout& layout) const override { return layout.orientation <= 1; }

  bool Start(const JpegLayout& layout) override {
    uint8_t* rows = nullptr;
    const bool gray = layout.bitCount == 8;
    block_.reset(NewDib(layout.width, layout.height, layout.bitCount, gray ? GrayRamp() : nullptr,
                        gray ? 256 : 0, &rows));
    if (!block_.get()) return false;
    rows_ = rows;
    height_ = layout.height;
    stride_ = DibStride(layout.width, layout.bitCount);
    used_ = static_cast<size_t>(layout.width) * (layout.bitCount / 8);
    return true;
  }

  uint8_t* TopRow(int y) override {
    uint8_t* row = rows_ + stride_ * static_cast<size_t>(height_ - 1 - y);
    std::memset(row + used_, 0, stride_ - used_);
    return row;
  }

  /// The finished block, unlocked; the caller owns it.
  HGLOBAL Release() {
    GlobalUnlock(block_.get());
    rows_ = nullptr;
    return block_.release();
  }

 private:
  vmd::UniqueHGlobal block_;
  uint8_t* rows_ = nullptr;  ///< the locked block's bottom row while it is locked
  int height_ = 0;
  size_t stride_ = 0;
  size_t used_ = 0;  ///< bytes of a row the decoder writes
};

}  // namespace

JpegResult DecodeJpegToDib(const uint8_t* data, size_t size, bool force24, HGLOBAL* dib) {
  DibRows rows;
  const JpegResult result = DecodeJpegRows(data, size, force24, &rows);
  if (result == JpegResult::kDecoded) *dib = rows.Release();
  return result;
}

}  // namespace pixio
