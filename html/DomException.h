// The exception every refusal of the document model raises: a DOM Level 2
// code and its fixed message.
#pragma once

#include <stdexcept>

namespace dom {

// The DOM Level 2 exception codes (only some are raised by this model; the
// others exist so that every code has its message).
enum TDomExceptionCode : int {
  IndexSizeErr = 1,
  DomStringSizeErr = 2,
  HierarchyRequestErr = 3,
  WrongDocumentErr = 4,
  InvalidCharacterErr = 5,
  NoDataAllowedErr = 6,
  NoModificationAllowedErr = 7,
  NotFoundErr = 8,
  NotSupportedErr = 9,
  InuseAttributeErr = 10,
  InvalidStateErr = 11,
  SyntaxErr = 12,
  InvalidModificationErr = 13,
  NamespaceErr = 14,
  InvalidAccessErr = 15,
};

class DomException : public std::runtime_error {
 public:
  explicit DomException(int code);
  int Code() const { return code_; }

  // The message of a code; an empty string for a code outside 1 to 15.
  static const char* MessageFor(int code);

 private:
  int code_;
};

}  // namespace dom
