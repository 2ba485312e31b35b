// Test helper: runs a THtmlReader over an input and writes every event as a
// short token, so a whole event stream compares as one readable line:
//   <p  element start      @class  attribute start   @/  attribute end
//   >   start tag finished  />     finished as empty  'x' text
//   &amp;  entity reference  </p>  end tag           <!--x-->  comment
//   <![x]>  CDATA           <!DOCTYPE n "pub" "sys">  declaration
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "html/HtmlReader.h"

inline std::string Utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | c >> 18);
      out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

struct TReaderRecorder {
  std::string events;
  int reads = 0;        // Read() calls that returned true
  int fired = 0;        // events fired
  int maxPerRead = 0;   // most events fired by one Read()

  void Add(const std::string& token) {
    if (!events.empty()) events += ' ';
    events += token;
    ++fired;
  }

  void Attach(THtmlReader& r) {
    r.OnElementStart = [this](THtmlReader& x) { Add("<" + Utf8(x.QualifiedName())); };
    r.OnAttributeStart = [this](THtmlReader& x) { Add("@" + Utf8(x.QualifiedName())); };
    r.OnAttributeEnd = [this](THtmlReader&) { Add("@/"); };
    r.OnElementEnd = [this](THtmlReader& x) { Add(x.IsEmptyElement() ? "/>" : ">"); };
    r.OnTextNode = [this](THtmlReader& x) { Add("'" + Utf8(x.NodeValue()) + "'"); };
    r.OnEntityReference = [this](THtmlReader& x) { Add("&" + Utf8(x.QualifiedName()) + ";"); };
    r.OnEndElement = [this](THtmlReader& x) { Add("</" + Utf8(x.QualifiedName()) + ">"); };
    r.OnComment = [this](THtmlReader& x) { Add("<!--" + Utf8(x.NodeValue()) + "-->"); };
    r.OnCDataSection = [this](THtmlReader& x) { Add("<![" + Utf8(x.NodeValue()) + "]>"); };
    r.OnDocType = [this](THtmlReader& x) {
      Add("<!DOCTYPE " + Utf8(x.QualifiedName()) + " \"" + Utf8(x.PublicID()) + "\" \"" +
          Utf8(x.SystemID()) + "\">");
    };
  }

  void Run(THtmlReader& r) {
    for (;;) {
      const int before = fired;
      if (!r.Read()) break;
      ++reads;
      if (fired - before > maxPerRead) maxPerRead = fired - before;
    }
  }
};

// Switches reader to raw text after the start tags of script, style and
// noscript, as the tree builder does.
inline void ReadRawTextAsTheBuilderDoes(THtmlReader& reader) {
  auto name = std::make_shared<std::u16string>();
  auto elementStart = reader.OnElementStart;
  auto elementEnd = reader.OnElementEnd;
  reader.OnElementStart = [name, elementStart](THtmlReader& r) {
    *name = std::u16string(r.QualifiedName());
    if (elementStart) elementStart(r);
  };
  reader.OnElementEnd = [name, elementEnd](THtmlReader& r) {
    if (elementEnd) elementEnd(r);
    if (*name == u"script")
      r.ReadRawText(*name, THtmlRawTextKind::ScriptData);
    else if (*name == u"style" || *name == u"noscript")
      r.ReadRawText(*name, THtmlRawTextKind::RawText);
  };
}

// The event stream of input as one line; with rawText, script, style and
// noscript are read as the tree builder has them read.
inline std::string ReadEvents(std::u16string input, bool rawText = false) {
  THtmlReader reader;
  TReaderRecorder rec;
  rec.Attach(reader);
  if (rawText) ReadRawTextAsTheBuilderDoes(reader);
  reader.SetHtmlStr(std::move(input));
  rec.Run(reader);
  return rec.events;
}
