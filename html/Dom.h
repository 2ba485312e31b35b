// The document model in one include.
#pragma once

#include "html/DomDocument.h"
#include "html/DomException.h"
#include "html/DomNode.h"
#include "html/DomNodeList.h"
#include "html/DomNodes.h"
