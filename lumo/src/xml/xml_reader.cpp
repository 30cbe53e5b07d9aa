#include "xml/xml_reader.hpp"

#include <memory>

#include "debug/message_stack.hpp"
#include "xml/node.hpp"

namespace lumo {
namespace xml {

void XMLHandler::startElement(const char*, const char**) {}
void XMLHandler::endElement(const char*) {}

DOMXMLHandler::~DOMXMLHandler() {
    delete root;
}

void DOMXMLHandler::startElement(const char* name, const char** attributes) {
    if (depth >= MAX_DEPTH)
        throw std::string("elements nested too deeply");
    std::unique_ptr<Node> node(new Node(name, attributes));
    if (!root) {
        root = node.get();
    } else if (current) {
        *current += node.get();
    } else {
        throw std::string("junk after document element");
    }
    current = node.release();
    ++depth;
}

void DOMXMLHandler::endElement(const char*) {
    if (!current)
        return;
    current = current->parent;
    --depth;
}

Node* DOMXMLHandler::takeRoot() {
    Node* tree = root;
    root = current = nullptr;
    depth = 0;
    return tree;
}

XMLReader::XMLReader(XMLHandler* handler_) : handler(handler_) {}

void XMLReader::fail() {
    failure = std::current_exception();
    failureLine = XML_GetCurrentLineNumber(parser);
    XML_StopParser(parser, XML_FALSE);
}

void xmlStart(void* userData, const char* name, const char** attributes) {
    debug::MessageScope scope("xmlStart()");
    XMLReader* reader = static_cast<XMLReader*>(userData);
    // expat may still deliver an event or two after being stopped.
    if (reader->failure || !reader->handler)
        return;
    try {
        reader->handler->startElement(name, attributes);
    } catch (...) {
        reader->fail();
    }
}

void xmlEnd(void* userData, const char* name) {
    debug::MessageScope scope("xmlEnd()");
    XMLReader* reader = static_cast<XMLReader*>(userData);
    if (reader->failure || !reader->handler)
        return;
    try {
        reader->handler->endElement(name);
    } catch (...) {
        reader->fail();
    }
}

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct ParserFree {
    void operator()(XML_Parser p) const { XML_ParserFree(p); }
};

std::string inFile(const std::string& name) {
    return " in \"" + name + "\"";
}

}  // namespace

void XMLReader::readFile(const std::string& filename) {
    debug::MessageScope scope("XMLReader::load()");
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(filename.c_str(), "r"));
    if (!file)
        throw "Could not open XML file \"" + filename + "\"";
    readStream(file.get(), filename);
}

void XMLReader::readStream(std::FILE* stream, const std::string& name) {
    std::unique_ptr<XML_ParserStruct, ParserFree> owned(XML_ParserCreate(nullptr));
    if (!owned)
        throw "Could not create an XML parser for \"" + name + "\"";
    parser = owned.get();
    failure = nullptr;
    struct Reset {
        XMLReader& reader;
        ~Reset() {
            reader.parser = nullptr;
            reader.failure = nullptr;
        }
    } reset{*this};

    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, xmlStart, xmlEnd);

    // Pieces start at CHUNK_SIZE and double up to MAX_CHUNK_SIZE: expat re-reads a token that
    // spans pieces from its start at every piece, so small pieces would make one long value
    // (megabytes of attribute text) cost time quadratic in its length.
    std::size_t chunk = CHUNK_SIZE;
    for (bool last = false; !last;) {
        void* buffer = XML_GetBuffer(parser, static_cast<int>(chunk));
        if (!buffer)
            throw std::string(XML_ErrorString(XML_GetErrorCode(parser))) + inFile(name);
        std::size_t n = std::fread(buffer, 1, chunk, stream);
        if (std::ferror(stream))
            throw "Error reading XML file \"" + name + "\"";
        // A short read means the end of the file. A file whose size is a multiple of the chunk
        // size ends with an empty final chunk, so expat still sees the end of the document and
        // reports an unclosed one.
        last = n < chunk;
        if (chunk < MAX_CHUNK_SIZE)
            chunk *= 2;
        if (XML_ParseBuffer(parser, static_cast<int>(n), last) == XML_STATUS_OK)
            continue;

        if (failure) {
            try {
                std::rethrow_exception(failure);
            } catch (const std::string& message) {
                throw message + " at line " + std::to_string(failureLine) + inFile(name);
            }
        }
        throw std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
            std::to_string(XML_GetCurrentLineNumber(parser)) + inFile(name);
    }
}

Node* loadXML(const char* filename) {
    debug::MessageScope scope("loadXML()");
    if (!filename)
        throw std::string("Could not open XML file \"\"");
    DOMXMLHandler handler;
    XMLReader reader(&handler);
    reader.readFile(filename);
    Node* root = handler.takeRoot();
    if (!root)
        throw "no element found" + inFile(filename);
    return root;
}

}  // namespace xml
}  // namespace lumo
