#include "XMLSimple.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include "FatalReport.h"

namespace {

const char* const groupNames[] = {"string", "double", "int", "bool"};

// The concatenated text of a node and its descendants. Entity references are
// never followed, so a hostile document cannot make one entry expand into
// gigabytes.
void appendText(const xmlNode* node, std::string& out) {
  switch (node->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
      if (node->content != nullptr) out += reinterpret_cast<const char*>(node->content);
      break;
    case XML_ELEMENT_NODE:
      for (const xmlNode* child = node->children; child != nullptr; child = child->next) appendText(child, out);
      break;
    default:
      break;
  }
}

bool isBlank(const xmlChar* text) {
  if (text == nullptr) return true;
  for (; *text != 0; ++text)
    if (!std::strchr(" \t\r\n", *text)) return false;
  return true;
}

// Comments, processing instructions and the whitespace that indents a file are
// not entries.
bool isEntry(const xmlNode* node) {
  if (node->type == XML_COMMENT_NODE || node->type == XML_PI_NODE) return false;
  if (node->type == XML_TEXT_NODE && isBlank(node->content)) return false;
  return true;
}

}  // namespace

XMLSimple::XMLSimple(const std::string& fileName) {
  {
    std::ifstream probe(fileName);
    if (!probe.is_open()) CHECK_MSG(false, "XMLSimple::XMLSimple : file missing (" + fileName + ")");
  }
  // No network, no external DTD and no entity substitution.
  xmlDocPtr doc = xmlReadFile(fileName.c_str(), nullptr, XML_PARSE_NONET);
  CHECK_MSG(doc != NULL, "XMLSimple::XMLSimple : could not parse xml file (" + fileName + ")");

  xmlNodePtr root = xmlDocGetRootElement(doc);
  for (xmlNodePtr group = root ? root->children : nullptr; group != nullptr; group = group->next) {
    if (group->type != XML_ELEMENT_NODE) continue;
    for (const char* name : groupNames) {
      if (xmlStrcmp(group->name, reinterpret_cast<const xmlChar*>(name)) != 0) continue;
      for (xmlNodePtr entry = group->children; entry != nullptr; entry = entry->next) {
        if (!isEntry(entry)) continue;
        std::string text;
        appendText(entry, text);
        const char* key = entry->name ? reinterpret_cast<const char*>(entry->name) : "";
        storeEntry(name, key, text, fileName);
      }
      break;
    }
  }
  xmlFreeDoc(doc);
}

void XMLSimple::storeEntry(const std::string& group, const std::string& key, const std::string& text,
                           const std::string& fileName) {
  if (group == "string") {
    strings[key] = text;
  } else if (group == "double") {
    doubles[key] = std::atof(text.c_str());
  } else if (group == "int") {
    ints[key] = std::atoi(text.c_str());
  } else if (text == "true") {
    bools[key] = true;
  } else if (text == "false") {
    bools[key] = false;
  } else {
    int value = std::atoi(text.c_str());
    CHECK_MSG(value == 0 || value == 1, "Erroneous bool value in xml (" + fileName + ": " + key +
                                            " = '" + text + "')");
    bools[key] = value == 1;
  }
}

std::string XMLSimple::getString(const std::string& key) { return strings[key]; }
double XMLSimple::getDouble(const std::string& key) { return doubles[key]; }
int XMLSimple::getInt(const std::string& key) { return ints[key]; }
bool XMLSimple::getBool(const std::string& key) { return bools[key]; }
