#include <doctest.h>

#include <msxml2.h>

#include <string>

#include "feed/XmlDom.h"
#include "framework/ComPtr.h"

namespace {

const IID IID_Document2 = {0x2933bf95, 0x7b36, 0x11d2, {0xb2, 0x0e, 0x00, 0xc0, 0x4f, 0x98, 0x3e, 0x60}};

// The property as the DOM itself reports it, or VT_EMPTY when it does not.
long ReadBack(const TXmlDocument& doc, const wchar_t* name) {
  ComPtr<IXMLDOMDocument2> doc2;
  if (FAILED(doc.Root()->QueryInterface(IID_Document2, reinterpret_cast<void**>(doc2.Put())))) return -1;
  UniqueBstr key(name);
  UniqueVariant value;
  if (FAILED(doc2->getProperty(key.Get(), value.Put()))) return -1;
  if (value.Get().vt == VT_BOOL) return value.Get().boolVal == VARIANT_TRUE ? 1 : 0;
  return value.Get().vt == VT_I4 ? value.Get().lVal : -1;
}

std::wstring Nested(int depth) {
  std::wstring text;
  for (int i = 0; i < depth; ++i) text += L"<e a=\"x>y\">";
  text += L"<!-- <x><x><x> --><![CDATA[<x><x>]]><empty/>";
  for (int i = 0; i < depth; ++i) text += L"</e>";
  return text;
}

const wchar_t BillionLaughs[] =
    L"<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY a \"aaaaaaaaaa\">"
    L"<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
    L"<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]><data><version>&d;</version></data>";

}  // namespace

TEST_CASE("every limit holds: confirmed by the DOM, or checked before it parses") {
  ComSession com;
  TXmlDocument doc;
  const TXmlGuards& guards = doc.DomGuards();
  // A limit counts as the DOM's only when it reads back as set.
  if (guards.ProhibitDtd) CHECK(ReadBack(doc, L"ProhibitDTD") == 1);
  if (guards.MaxDepth) CHECK(ReadBack(doc, L"MaxElementDepth") == MaxXmlElementDepth);
  if (guards.MaxSize) CHECK(ReadBack(doc, L"MaxXMLSize") == MaxXmlKiloChars);
  CAPTURE(guards.ProhibitDtd);
  CAPTURE(guards.MaxDepth);
  CAPTURE(guards.MaxSize);

  SUBCASE("a DTD is never read: its entities do not expand") {
    CHECK_FALSE(doc.LoadXml(BillionLaughs));
    CHECK_FALSE(doc.LoadXml(L"<!-- x --><!DOCTYPE data SYSTEM \"file:///C:/windows/win.ini\"><data/>"));
  }
  SUBCASE("nesting up to the limit loads, one more does not") {
    CHECK(doc.LoadXml(Nested(MaxXmlElementDepth)));
    CHECK_FALSE(doc.LoadXml(Nested(MaxXmlElementDepth + 1)));
  }
  SUBCASE("text over the size limit is refused") {
    std::wstring big = L"<data>" + std::wstring(static_cast<size_t>(MaxXmlKiloChars) * 1024, L'x') + L"</data>";
    CHECK_FALSE(doc.LoadXml(big));
    CHECK(doc.LoadXml(L"<data>" + std::wstring(1024 * 1024, L'x') + L"</data>"));
  }
}

TEST_CASE("the own checks read tags as the DOM does") {
  CHECK(HasDoctype(L"<?xml version=\"1.0\"?>\r\n<!-- c --><!DOCTYPE x><x/>"));
  CHECK_FALSE(HasDoctype(L"<x><![CDATA[<!DOCTYPE x>]]></x>"));
  CHECK_FALSE(HasDoctype(L"<x/><!DOCTYPE x>"));  // after the root: not a DOCTYPE, and not well-formed
  CHECK_FALSE(NestsDeeperThan(L"<a><b/><b/><b></b></a>", 2));
  CHECK(NestsDeeperThan(L"<a><b><c/></b></a>", 1));
  CHECK(NestsDeeperThan(L"<a><b attr='/>'><c></c></b></a>", 2));
  CHECK_FALSE(NestsDeeperThan(L"<a><!-- <b><c> --><?pi <b>?><![CDATA[<b><c>]]></a>", 1));
}
