#include "html/DomException.h"

namespace dom {

const char* DomException::MessageFor(int code) {
  static const char* const messages[] = {
      "Index or size is negative, or greater than the allowed value",
      "The specified range of text does not fit into a DOMString",
      "Node is inserted somewhere it doesn't belong",
      "Node is used in a different document than the one that created it",
      "Invalid or illegal character is specified, such as in a name",
      "Data is specified for a node which does not support data",
      "An attempt is made to modify an object where modifications are not allowed",
      "An attempt is made to reference a node in a context where it does not exist",
      "Implementation does not support the requested type of object or operation",
      "An attempt is made to add an attribute that is already in use elsewhere",
      "An attempt is made to use an object that is not, or is no longer, usable",
      "An invalid or illegal string is specified",
      "An attempt is made to modify the type of the underlying object",
      ("An attempt is made to create or change an object in a way which is "
       "incorrect with regard to namespaces"),
      "A parameter or an operation is not supported by the underlying object",
  };
  if (code < 1 || code > 15) return "";
  return messages[code - 1];
}

DomException::DomException(int code) : std::runtime_error(MessageFor(code)), code_(code) {}

}  // namespace dom
