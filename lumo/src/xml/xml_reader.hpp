#pragma once
// Reading XML files through expat: XMLReader feeds element events to an XMLHandler;
// DOMXMLHandler builds a Node tree from them (loadXML in node.hpp is the usual entry point).
// Not thread-safe per object; separate readers may run on separate threads.

#include <cstddef>
#include <cstdio>
#include <exception>
#include <string>

#include <expat.h>

namespace lumo {
namespace xml {

class Node;

/// Receives element events; both do nothing by default. A handler may throw to abort the
/// parse: the reader stops expat and rethrows after the parser has returned (a std::string
/// gets the line and the file name appended).
class XMLHandler {
  public:
    virtual ~XMLHandler() = default;
    virtual void startElement(const char* name, const char** attributes);
    virtual void endElement(const char* name);
};

/// Builds a tree. Owns `root` until takeRoot(); a tree left behind by a failed parse is
/// destroyed with the handler.
class DOMXMLHandler : public XMLHandler {
  public:
    /// Deeper documents are rejected: nothing in the framework nests that far, and the
    /// tree's recursive operations must not exhaust the stack.
    static const int MAX_DEPTH = 256;

    DOMXMLHandler() = default;
    ~DOMXMLHandler() override;
    DOMXMLHandler(const DOMXMLHandler&) = delete;
    DOMXMLHandler& operator=(const DOMXMLHandler&) = delete;

    /// Throws "elements nested too deeply" beyond MAX_DEPTH.
    void startElement(const char* name, const char** attributes) override;
    void endElement(const char* name) override;
    /// Hands the tree to the caller and forgets it.
    Node* takeRoot();

    Node* root = nullptr;
    Node* current = nullptr;

  private:
    int depth = 0;
};

/// Drives expat over a file. `handler` is borrowed.
class XMLReader {
  public:
    /// Size of the first piece of a file handed to expat; later pieces double in size up to
    /// MAX_CHUNK_SIZE.
    static const std::size_t CHUNK_SIZE = 64 * 1024;
    static const std::size_t MAX_CHUNK_SIZE = 16 * 1024 * 1024;

    explicit XMLReader(XMLHandler* handler);
    /// Throws a message naming the file when it cannot be opened, read or parsed, and rethrows
    /// what the handler threw. The handler may have received part of the events by then.
    void readFile(const std::string& filename);
    /// The same over an open stream (not closed here); `name` is used in messages.
    void readStream(std::FILE* stream, const std::string& name);

    XMLHandler* handler;

  private:
    friend void xmlStart(void*, const char*, const char**);
    friend void xmlEnd(void*, const char*);
    void fail();

    XML_Parser parser = nullptr;
    std::exception_ptr failure;
    unsigned long failureLine = 0;
};

/// expat's element callbacks. `userData` is the XMLReader, whose handler gets the event; an
/// exception from the handler never unwinds through expat: it is kept and the parser stopped.
void xmlStart(void* userData, const char* name, const char** attributes);
void xmlEnd(void* userData, const char* name);

}  // namespace xml
}  // namespace lumo
