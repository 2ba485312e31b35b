// The drawing tools a canvas owns: each keeps its GDI+ object alive and in
// step with its properties. Colours are 0xAARRGGBB.
//
// Change rules shared by every tool: a setter acts only when the value
// differs, and only then sends OnChange. Assign copies only from a tool of
// the same class; any other source is ignored.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/GdipHandles.h"

class TGraphicObjectEx;
// The owner's change hook; Sender is the tool that changed.
using TGraphicChangeEvent = std::function<void(TGraphicObjectEx* sender)>;

class TGraphicObjectEx {
 public:
  TGraphicObjectEx();
  virtual ~TGraphicObjectEx() = default;
  TGraphicObjectEx(const TGraphicObjectEx&) = delete;
  TGraphicObjectEx& operator=(const TGraphicObjectEx&) = delete;

  TGraphicChangeEvent OnChange;
  // Calls OnChange(this) when assigned.
  void Changed();
  virtual void Assign(const TGraphicObjectEx& source);
};

class TBrushEx : public TGraphicObjectEx {
 public:
  static constexpr int SolidKind = 0;
  explicit TBrushEx(int kind) : kind_(kind) {}
  int Kind() const { return kind_; }
  // The GDI+ brush; none in the base class.
  virtual Gdiplus::GpBrush* Handle() const { return nullptr; }

 private:
  int kind_;
};

class TSolidBrushEx : public TBrushEx {
 public:
  explicit TSolidBrushEx(std::uint32_t color = 0xFF808080);
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t value);
  Gdiplus::GpBrush* Handle() const override { return handle_.Get(); }
  // Copies the colour and makes a new GDI+ brush.
  void Assign(const TGraphicObjectEx& source) override;

 private:
  void CreateHandle();
  std::uint32_t color_;
  UniqueGdipBrush handle_;
};

class TPenEx : public TGraphicObjectEx {
 public:
  TPenEx();
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t value);
  float Width() const { return width_; }
  void SetWidth(float value);
  // GDI+ DashStyle.
  int Style() const { return style_; }
  void SetStyle(int value);
  Gdiplus::GpPen* Handle() const { return handle_.Get(); }
  // Copies colour, width and style and makes a new pen.
  void Assign(const TGraphicObjectEx& source) override;

 private:
  void CreateHandle();
  std::uint32_t color_ = 0xFF000000;
  float width_ = 1.0f;
  int style_ = 0;  // DashStyleSolid
  UniqueGdipPen handle_;
};

class TStringFormatEx : public TGraphicObjectEx {
 public:
  TStringFormatEx();
  // GDI+ StringFormatFlags.
  int FormatFlags() const { return formatFlags_; }
  void SetFormatFlags(int value);
  // GDI+ StringAlignment: 0 near, 1 centre, 2 far.
  int Alignment() const { return alignment_; }
  void SetAlignment(int value);
  // GDI+ HotkeyPrefix: 0 none, 1 show, 2 hide.
  int HotkeyPrefix() const { return hotkeyPrefix_; }
  void SetHotkeyPrefix(int value);
  int LineAlignment() const { return lineAlignment_; }
  void SetLineAlignment(int value);
  // GDI+ StringTrimming; character trimming by default.
  int Trimming() const { return trimming_; }
  void SetTrimming(int value);
  Gdiplus::GpStringFormat* Handle() const { return handle_.Get(); }
  // Goes through the five setters in the order above.
  void Assign(const TGraphicObjectEx& source) override;

 private:
  int formatFlags_ = 0;
  int alignment_ = 0;
  int hotkeyPrefix_ = 0;
  int lineAlignment_ = 0;
  int trimming_ = 1;  // StringTrimmingCharacter
  UniqueGdipStringFormat handle_;
};
