// Classic GDI drawing tools (pen, solid or hatched brush, font) and the
// device-context wrapper that selects them. Colours are COLORREF values
// (0x00BBGGRR); a negative value names a system colour: 0x80000000 plus a
// GetSysColor index.
//
// Change rules shared by every tool: a setter acts only on a different
// value; it drops the old GDI object, stores the value, makes the new object
// and sends OnChange. Each tool owns the object it holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/WinHandles.h"

using TColor = std::int32_t;

inline constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index)); }
// The COLORREF a colour stands for; system colours are looked up now.
COLORREF ColorToRGB(TColor color);

class TGraphicObject;
using TGraphicEvent = std::function<void(TGraphicObject* sender)>;

class TGraphicObject {
 public:
  TGraphicObject() = default;
  virtual ~TGraphicObject() = default;
  TGraphicObject(const TGraphicObject&) = delete;
  TGraphicObject& operator=(const TGraphicObject&) = delete;

  TGraphicEvent OnChange;
  void Changed();
  // Copies the properties of a tool of the same class; nothing in the base.
  virtual void Assign(const TGraphicObject&) {}
};

class TPen : public TGraphicObject {
 public:
  HPEN Handle() const { return static_cast<HPEN>(handle_.Get()); }
  // Adopts the pen; the previous one is deleted.
  void SetHandle(HPEN value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);
  int Style() const { return style_; }
  void SetStyle(int value);

 private:
  void Remake();
  TColor color_ = 0;
  int width_ = 0;
  int style_ = 0;
  UniqueGdiObject handle_;
};

class TSolidBrush : public TGraphicObject {
 public:
  explicit TSolidBrush(TColor color = -1) : color_(color) {}
  HBRUSH Handle() const { return static_cast<HBRUSH>(handle_.Get()); }
  void SetHandle(HBRUSH value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // A hatch style (HS_*); once set the brush is hatched.
  int Style() const { return style_; }
  void SetStyle(int value);
  void Assign(const TGraphicObject& source) override;

 private:
  void Remake();
  TColor color_;
  int style_ = 0;
  bool hatched_ = false;
  UniqueGdiObject handle_;
};

enum TFontStyleBit : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont : public TGraphicObject {
 public:
  // Points.
  int Size() const { return size_; }
  void SetSize(int value);
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& value);
  // fsBold | fsItalic | fsUnderline | fsStrikeOut.
  unsigned Style() const { return style_; }
  void SetStyle(unsigned value);
  // Text colour; changing it leaves the font object as it is.
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // The font, made on first use from the system's message font.
  HFONT Handle() const;
  void SetHandle(HFONT value);
  void Assign(const TGraphicObject& source) override;

 private:
  HFONT MakeFont() const;
  void Remake();
  int size_ = 8;
  std::wstring name_ = L"Tahoma";
  unsigned style_ = 0;
  TColor color_ = 0;
  mutable UniqueGdiObject handle_;
};

class TControl;

// Wraps a device context it does not own and keeps its own tools selected
// into it.
class TCanvas {
 public:
  TCanvas();
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  std::function<void(TCanvas* sender)> OnChange;
  HDC Handle() const { return dc_; }
  // A new DC gets back the objects it had before the canvas selected its own.
  void SetHandle(HDC dc);
  TControl* Control = nullptr;
  TFont& Font() { return font_; }
  TSolidBrush& Brush() { return brush_; }
  TPen& Pen() { return pen_; }
  void Changed();

 private:
  void Select(HGDIOBJ object, HGDIOBJ& original);
  void Restore();
  HDC dc_ = nullptr;
  TFont font_;
  TSolidBrush brush_{SystemColor(COLOR_WINDOW)};
  TPen pen_;
  HGDIOBJ originalFont_ = nullptr, originalBrush_ = nullptr, originalPen_ = nullptr;
};
