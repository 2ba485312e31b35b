// The document model: its refusals (each a DomException with its code and
// message, the tree left as it was) and its ownership rules.
#include <doctest.h>

#include <memory>
#include <string>

#include "TreeDump.h"
#include "html/Dom.h"

using namespace dom;

namespace {

// Runs f and returns the code of the DomException it raises, 0 when none.
template <class F>
int CodeOf(F f) {
  try {
    f();
  } catch (const DomException& e) {
    return e.Code();
  }
  return 0;
}

}  // namespace

TEST_CASE("every exception code has its message") {
  struct Row {
    int code;
    const char* message;
  };
  const Row rows[] = {
      {1, "Index or size is negative, or greater than the allowed value"},
      {2, "The specified range of text does not fit into a DOMString"},
      {3, "Node is inserted somewhere it doesn't belong"},
      {4, "Node is used in a different document than the one that created it"},
      {5, "Invalid or illegal character is specified, such as in a name"},
      {6, "Data is specified for a node which does not support data"},
      {7, "An attempt is made to modify an object where modifications are not allowed"},
      {8, "An attempt is made to reference a node in a context where it does not exist"},
      {9, "Implementation does not support the requested type of object or operation"},
      {10, "An attempt is made to add an attribute that is already in use elsewhere"},
      {11, "An attempt is made to use an object that is not, or is no longer, usable"},
      {12, "An invalid or illegal string is specified"},
      {13, "An attempt is made to modify the type of the underlying object"},
      {14, "An attempt is made to create or change an object in a way which is incorrect with "
           "regard to namespaces"},
      {15, "A parameter or an operation is not supported by the underlying object"},
  };
  for (const Row& r : rows) {
    DomException e(r.code);
    CHECK(e.Code() == r.code);
    CHECK(std::string(e.what()) == r.message);
  }
  CHECK(std::string(DomException::MessageFor(0)).empty());
  CHECK(std::string(DomException::MessageFor(16)).empty());
}

TEST_CASE("node names, types and values") {
  auto doc = DomImplementation::CreateDocument();
  TElement* op = doc->CreateElement(u"o:p");
  CHECK(op->Prefix().empty());
  CHECK(op->LocalName() == u"o:p");
  CHECK(op->NodeName() == u"o:p");
  CHECK(op->NodeType() == ElementNode);
  CHECK(op->NodeValue().empty());

  TElement* ns = doc->CreateElementNS(u"urn:x", u"o:p");
  CHECK(ns->Prefix() == u"o");
  CHECK(ns->LocalName() == u"p");
  CHECK(ns->NodeName() == u"o:p");
  CHECK(ns->NamespaceURI() == u"urn:x");
  CHECK(doc->CreateElementNS(u"urn:y", u"q")->NamespaceIndex() == 2);
  CHECK(doc->CreateElementNS(u"urn:x", u"r")->NamespaceIndex() == ns->NamespaceIndex());
  CHECK(doc->CreateElementNS(u"", u"s")->NamespaceIndex() == 0);

  CHECK(doc->NodeName() == u"#document");
  CHECK(doc->NodeType() == DocumentNode);
  CHECK(doc->OwnerDocument() == doc.get());
  CHECK(doc->CreateTextNode(u"t")->NodeName() == u"#text");
  CHECK(doc->CreateCDATASection(u"c")->NodeName() == u"#cdata-section");
  CHECK(doc->CreateCDATASection(u"c")->NodeType() == CDataSectionNode);
  CHECK(doc->CreateComment(u"c")->NodeName() == u"#comment");
  CHECK(doc->CreateEntityReference(u"amp")->NodeName() == u"amp");
  TProcessingInstruction* pi = doc->CreateProcessingInstruction(u"xml", u"v=1");
  CHECK(pi->NodeName() == u"xml");
  CHECK(pi->NodeValue() == u"v=1");
  CHECK(pi->NodeType() == ProcessingInstructionNode);

  TTextNode* text = doc->CreateTextNode(u"yağış");
  CHECK(text->Length() == 5);
  text->SetNodeValue(u"kar");
  CHECK(text->NodeValue() == u"kar");
  CHECK(CodeOf([&] { op->SetNodeValue(u"x"); }) == NoModificationAllowedErr);
  CHECK(CodeOf([&] { pi->SetNodeValue(u"x"); }) == NoModificationAllowedErr);
}

TEST_CASE("what each kind of node accepts as a child") {
  auto doc = DomImplementation::CreateDocument();
  TElement* element = doc->CreateElement(u"p");
  TAttr* attr = doc->CreateAttribute(u"a");
  TTextNode* text = doc->CreateTextNode(u"t");
  TEntityReference* ref = doc->CreateEntityReference(u"amp");
  TComment* comment = doc->CreateComment(u"c");
  CHECK(element->AllowsChild(*text));
  CHECK(element->AllowsChild(*attr));  // the kind table lets an element take any but 6, 9, 10, 12
  CHECK_FALSE(element->AllowsChild(*doc));
  CHECK(attr->AllowsChild(*text));
  CHECK(attr->AllowsChild(*ref));
  CHECK_FALSE(attr->AllowsChild(*comment));
  CHECK_FALSE(attr->AllowsChild(*element));
  CHECK_FALSE(text->AllowsChild(*text));
  CHECK_FALSE(ref->AllowsChild(*text));
  CHECK(doc->AllowsChild(*text));
  CHECK(doc->AllowsChild(*comment));
  CHECK_FALSE(doc->AllowsChild(*ref));
  CHECK(doc->AllowsChild(*element));
  doc->AppendChild(element);
  CHECK_FALSE(doc->AllowsChild(*doc->CreateElement(u"q")));
}

TEST_CASE("insertion refusals leave the tree as it was") {
  auto doc = DomImplementation::CreateDocument();
  auto other = DomImplementation::CreateDocument();
  TElement* html = doc->CreateElement(u"html");
  doc->AppendChild(html);
  TElement* body = doc->CreateElement(u"body");
  html->AppendChild(body);
  TElement* p = doc->CreateElement(u"p");
  body->AppendChild(p);
  const std::string before = DumpNode(*doc);

  SUBCASE("a second document element") {
    CHECK(CodeOf([&] { doc->AppendChild(doc->CreateElement(u"x")); }) == HierarchyRequestErr);
  }
  SUBCASE("a node of another document") {
    CHECK(CodeOf([&] { p->AppendChild(other->CreateTextNode(u"x")); }) == WrongDocumentErr);
  }
  SUBCASE("a node into itself") {
    CHECK(CodeOf([&] { p->AppendChild(p); }) == HierarchyRequestErr);
  }
  SUBCASE("a node into its descendant") {
    CHECK(CodeOf([&] { p->AppendChild(html); }) == HierarchyRequestErr);
    CHECK(CodeOf([&] { body->AppendChild(body->ParentNode()); }) == HierarchyRequestErr);
  }
  SUBCASE("a kind the parent does not take") {
    CHECK(CodeOf([&] { doc->CreateAttribute(u"a")->AppendChild(doc->CreateElement(u"b")); }) ==
          HierarchyRequestErr);
    CHECK(CodeOf([&] { doc->CreateTextNode(u"t")->AppendChild(doc->CreateTextNode(u"u")); }) ==
          HierarchyRequestErr);
  }
  SUBCASE("a reference node that is not a child") {
    TElement* stranger = doc->CreateElement(u"s");
    CHECK(CodeOf([&] { body->InsertBefore(doc->CreateTextNode(u"x"), stranger); }) == NotFoundErr);
    CHECK(CodeOf([&] { body->InsertBefore(doc->CreateTextNode(u"x"), html); }) == NotFoundErr);
  }
  SUBCASE("removing a node that is not a child") {
    CHECK(CodeOf([&] { body->RemoveChild(html); }) == NotFoundErr);
    CHECK(CodeOf([&] { body->RemoveChild(nullptr); }) == NotFoundErr);
  }
  SUBCASE("operations a kind does not support") {
    CHECK(CodeOf([&] { doc->CloneNode(true); }) == NotSupportedErr);
    CHECK(CodeOf([&] { doc->ImportInto(*other); }) == NotSupportedErr);
  }
  CHECK(DumpNode(*doc) == before);
}

TEST_CASE("text goes straight into a document") {
  auto doc = DomImplementation::CreateDocument();
  doc->AppendChild(doc->CreateTextNode(u"a"));
  doc->AppendChild(doc->CreateComment(u"c"));
  CHECK(doc->DocumentElement() == nullptr);
  TElement* root = doc->CreateElement(u"r");
  doc->AppendChild(root);
  CHECK(doc->DocumentElement() == root);
  CHECK(DumpNode(*doc) == "\"a\" <!--c--> r");
}

TEST_CASE("insert, move and remove children") {
  auto doc = DomImplementation::CreateDocument();
  TElement* list = doc->CreateElement(u"ul");
  TElement* a = doc->CreateElement(u"a");
  TElement* b = doc->CreateElement(u"b");
  TElement* c = doc->CreateElement(u"c");
  list->AppendChild(a);
  list->AppendChild(b);
  CHECK(list->InsertBefore(c, a) == c);
  CHECK(DumpNode(*list) == "ul(c a b)");

  SUBCASE("moving under the same parent leaves one occurrence") {
    list->InsertBefore(c, nullptr);
    CHECK(DumpNode(*list) == "ul(a b c)");
    list->InsertBefore(c, b);
    CHECK(DumpNode(*list) == "ul(a c b)");
    CHECK(list->InsertBefore(c, c) == c);
    CHECK(DumpNode(*list) == "ul(a c b)");
  }
  SUBCASE("moving to another parent takes it from the first") {
    TElement* other = doc->CreateElement(u"ol");
    a->AppendChild(doc->CreateTextNode(u"x"));
    other->AppendChild(a);
    CHECK(a->ParentNode() == other);
    CHECK(DumpNode(*list) == "ul(c b)");
    CHECK(DumpNode(*other) == "ol(a(\"x\"))");
  }
  SUBCASE("a removed node is detached and stays usable") {
    TNode* removed = list->RemoveChild(b);
    CHECK(removed == b);
    CHECK(b->ParentNode() == nullptr);
    CHECK(DumpNode(*list) == "ul(c a)");
    b->AppendChild(doc->CreateTextNode(u"still here"));
    a->AppendChild(b);
    CHECK(DumpNode(*list) == "ul(c a(b(\"still here\")))");
  }
  SUBCASE("Item and IndexOf") {
    const TNodeList& items = list->ChildNodes();
    CHECK(items.Count() == 3);
    CHECK(items.Item(0) == c);
    CHECK(items.Item(2) == b);
    CHECK(items.Item(3) == nullptr);
    CHECK(items.Item(-1) == nullptr);
    CHECK(items.IndexOf(a) == 1);
    CHECK(items.IndexOf(list) == -1);
  }
}

TEST_CASE("attribute values decode entity references") {
  auto doc = DomImplementation::CreateDocument();
  TAttr* attr = doc->CreateAttribute(u"title");
  attr->AppendChild(doc->CreateTextNode(u"a"));
  attr->AppendChild(doc->CreateEntityReference(u"amp"));
  attr->AppendChild(doc->CreateTextNode(u"b"));
  CHECK(attr->NodeValue() == u"a&b");
  attr->AppendChild(doc->CreateEntityReference(u"bilinmeyen"));
  attr->AppendChild(doc->CreateEntityReference(u"Uuml"));
  CHECK(attr->NodeValue() == u"a&b \u00DC");

  TNode* first = attr->ChildNodes().Item(0);
  attr->SetNodeValue(u"yeni");
  CHECK(attr->ChildNodes().Count() == 1);
  CHECK(attr->NodeValue() == u"yeni");
  CHECK(first->ParentNode() == nullptr);
}

TEST_CASE("attribute nodes: displacement and ownership") {
  auto doc = DomImplementation::CreateDocument();
  TElement* a = doc->CreateElement(u"a");
  TAttr* first = doc->CreateAttribute(u"href");
  first->SetNodeValue(u"x");
  CHECK(a->SetAttributeNode(first) == nullptr);
  CHECK(first->OwnerElement() == a);
  CHECK(a->HasAttribute(u"href"));
  CHECK_FALSE(a->HasAttribute(u"HREF"));
  CHECK(a->GetAttributeNode(u"href") == first);
  CHECK(a->GetAttribute(u"href") == u"x");

  TAttr* second = doc->CreateAttribute(u"href");
  second->SetNodeValue(u"y");
  CHECK(a->SetAttributeNode(second) == first);
  CHECK(first->OwnerElement() == nullptr);
  CHECK(first->NodeValue() == u"x");  // the holder still has it, intact
  CHECK(a->Attributes().Count() == 1);
  CHECK(a->GetAttribute(u"href") == u"y");

  TElement* b = doc->CreateElement(u"b");
  CHECK(CodeOf([&] { b->SetAttributeNode(second); }) == InuseAttributeErr);
  CHECK(CodeOf([&] { a->SetAttributeNode(second); }) == InuseAttributeErr);
  CHECK(CodeOf([&] { b->Attributes().SetNamedItem(second); }) == InuseAttributeErr);
  auto other = DomImplementation::CreateDocument();
  CHECK(CodeOf([&] { b->SetAttributeNode(other->CreateAttribute(u"id")); }) == WrongDocumentErr);
  CHECK(b->Attributes().Count() == 0);
  CHECK(b->SetAttributeNode(first) == nullptr);
  CHECK(first->OwnerElement() == b);
}

TEST_CASE("document types belong to one document") {
  auto type = DomImplementation::CreateDocumentType(u"html", u"-//W3C//DTD", u"x.dtd");
  CHECK(type->OwnerDocument() == nullptr);
  CHECK(type->NodeName() == u"html");
  CHECK(type->PublicId() == u"-//W3C//DTD");
  CHECK(type->SystemId() == u"x.dtd");
  TDocumentType* raw = type.get();
  auto doc = DomImplementation::CreateDocument(std::move(type));
  CHECK(doc->DocType() == raw);
  CHECK(raw->OwnerDocument() == doc.get());
  doc->SetDocType(DomImplementation::CreateDocumentType(u"svg", u"", u""));
  CHECK(doc->DocType()->NodeName() == u"svg");
  doc->SetDocType(nullptr);
  CHECK(doc->DocType() == nullptr);
}

TEST_CASE("clones: same class, name and text; attributes never, children when deep") {
  auto doc = DomImplementation::CreateDocument();
  TElement* p = doc->CreateElementNS(u"urn:x", u"h:p");
  TAttr* attr = doc->CreateAttribute(u"class");
  attr->SetNodeValue(u"c");
  p->SetAttributeNode(attr);
  p->AppendChild(doc->CreateTextNode(u"a"));
  TElement* b = doc->CreateElement(u"b");
  b->AppendChild(doc->CreateEntityReference(u"amp"));
  b->AppendChild(doc->CreateCDATASection(u"d"));
  p->AppendChild(b);
  p->AppendChild(doc->CreateComment(u"c"));

  TNode* shallow = p->CloneNode(false);
  CHECK(DumpNode(*shallow) == "h:p");
  CHECK(shallow->ParentNode() == nullptr);
  TNode* deep = p->CloneNode(true);
  CHECK(DumpNode(*deep) == "h:p(\"a\" b(&amp; <![d]>) <!--c-->)");
  CHECK(deep->NamespaceURI() == u"urn:x");
  CHECK(deep->ChildNodes().Item(1) != b);
  CHECK(attr->CloneNode(false)->NodeValue() == u"c");

  auto other = DomImplementation::CreateDocument();
  TNode* imported = p->CloneInto(*other, true);
  CHECK(imported->OwnerDocument() == other.get());
  CHECK(imported->NamespaceURI() == u"urn:x");
  CHECK(DumpNode(*imported) == DumpNode(*deep));
  other->AppendChild(imported);
}

TEST_CASE("namespace URI list") {
  TNamespaceURIList list;
  CHECK(list.Count() == 1);
  CHECK(list.Item(0).empty());
  CHECK(list.Add(u"") == 0);
  CHECK(list.Add(u"urn:a") == 1);
  CHECK(list.Add(u"urn:b") == 2);
  CHECK(list.Add(u"urn:a") == 1);
  CHECK(list.Add(u"URN:A") == 3);
  CHECK(list.Item(9).empty());
}

TEST_CASE("node lists: raw list operations") {
  auto doc = DomImplementation::CreateDocument();
  TElement* e = doc->CreateElement(u"e");
  TNodeList& list = e->ChildNodes();
  TNode* x = doc->CreateTextNode(u"x");
  TNode* y = doc->CreateTextNode(u"y");
  list.Add(x);
  list.Insert(0, y);
  CHECK(list.IndexOf(x) == 1);
  CHECK(CodeOf([&] { list.Insert(3, x); }) == IndexSizeErr);
  CHECK(CodeOf([&] { list.Delete(2); }) == IndexSizeErr);
  list.Remove(y);
  list.Remove(y);
  CHECK(list.Count() == 1);
  list.Delete(0);
  CHECK(list.Count() == 0);

  // Leaves have no list of their own; theirs refuses everything and stays
  // empty for every other leaf.
  TNodeList& leafList = x->ChildNodes();
  CHECK(leafList.Owner() == nullptr);
  CHECK(CodeOf([&] { leafList.Add(y); }) == HierarchyRequestErr);
  CHECK(CodeOf([&] { leafList.Insert(0, y); }) == HierarchyRequestErr);
  leafList.Clear(true);
  leafList.Remove(y);
  CHECK(doc->CreateComment(u"c")->ChildNodes().Count() == 0);
  CHECK(!y->HasChildNodes());
  CHECK(y->ParentNode() == nullptr);
}

TEST_CASE("deep trees are built, cloned and destroyed without recursion") {
  constexpr int depth = 200000;
  auto doc = DomImplementation::CreateDocument();
  TNode* node = doc->CreateElement(u"r");
  doc->AppendChild(node);
  for (int i = 0; i < depth; ++i) node = node->AppendChild(doc->CreateElement(u"b"));
  node->AppendChild(doc->CreateTextNode(u"leaf"));
  TNode* copy = doc->DocumentElement()->CloneNode(true);
  int levels = 0;
  for (TNode* n = copy; n->HasChildNodes(); n = n->ChildNodes().Item(0)) ++levels;
  CHECK(levels == depth + 1);
  // The root's PlainText walks it iteratively as well.
  CHECK(doc->DocumentElement()->PlainText() == u"leaf");
  doc.reset();
}
