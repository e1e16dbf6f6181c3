#include "VrmlParser.h"

#include <array>
#include <charconv>
#include <map>
#include <set>
#include <string>

#include "NodeObject.h"
#include "VrmlStandardNodes.h"

namespace {

constexpr std::string_view kHeader = "#VRML V2.0 utf8";
// Nesting of nodes and prototypes; deeper text is refused rather than risking the stack.
constexpr int kMaxDepth = 100;

// Characters that may not start (kNotIdFirst) or continue (kNotIdRest) an identifier.
constexpr std::array<bool, 256> CharTable(std::string_view chars, bool bControlAndDigits,
                                          bool bDigits) {
    std::array<bool, 256> table{};
    for (int c = 0; c <= 0x20; ++c)
        table[static_cast<size_t>(c)] = bControlAndDigits;
    if (bDigits)
        for (int c = '0'; c <= '9'; ++c)
            table[static_cast<size_t>(c)] = true;
    for (char c : chars)
        table[static_cast<unsigned char>(c)] = true;
    table[0x7f] = true;
    return table;
}
constexpr auto kNotIdFirst = CharTable("\"#',.[\\]{}+-", true, true);
constexpr auto kNotIdRest = CharTable("\"#',.[\\]{}", true, false);

// Names visible while parsing one file or one prototype body.
struct Scope {
    const Scope* pOuter = nullptr;             // for prototype names, which nest
    const NodeType* pInterface = nullptr;      // the prototype whose body this is, for IS
    std::set<std::string, std::less<>> events; // that prototype's events, also for IS
    std::map<std::string, CComPtr<INodeObject>, std::less<>> defs;
    std::map<std::string, NodeTypePtr, std::less<>> protos;

    NodeTypePtr FindProto(std::string_view name) const {
        for (const Scope* p = this; p; p = p->pOuter) {
            const auto it = p->protos.find(name);
            if (it != p->protos.end())
                return it->second;
        }
        return nullptr;
    }
};

class Parser {
public:
    Parser(EngineStatePtr spState, std::string_view text)
        : m_spState(std::move(spState)), m_p(text.data()), m_end(text.data() + text.size()) {}

    std::vector<CComPtr<INodeObject>> Scene() {
        Scope scope;
        std::vector<CComPtr<INodeObject>> roots;
        Statements(scope, &roots, '\0');
        return roots;
    }

    FieldValue Value(const FieldTypeInfo& type) {
        Scope scope;
        FieldValue value;
        FieldValueInto(scope, type, value);
        SkipSpace();
        if (m_p != m_end)
            Fail();
        return value;
    }

private:
    [[noreturn]] static void Fail() { throw VrmlSyntaxError(); }

    void SkipSpace() {
        while (m_p != m_end) {
            const char c = *m_p;
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',') {
                ++m_p;
            } else if (c == '#') {
                while (m_p != m_end && *m_p != '\n' && *m_p != '\r')
                    ++m_p;
            } else {
                break;
            }
        }
    }
    bool Peek(char c) {
        SkipSpace();
        return m_p != m_end && *m_p == c;
    }
    bool Accept(char c) {
        if (!Peek(c))
            return false;
        ++m_p;
        return true;
    }
    void Expect(char c) {
        if (!Accept(c))
            Fail();
    }
    bool AtEnd() {
        SkipSpace();
        return m_p == m_end;
    }

    std::string_view Identifier() {
        SkipSpace();
        const char* pStart = m_p;
        if (m_p == m_end || kNotIdFirst[static_cast<unsigned char>(*m_p)])
            Fail();
        ++m_p;
        while (m_p != m_end && !kNotIdRest[static_cast<unsigned char>(*m_p)])
            ++m_p;
        return std::string_view(pStart, static_cast<size_t>(m_p - pStart));
    }
    // Consumes the keyword when it is the next identifier.
    bool AcceptKeyword(std::string_view keyword) {
        SkipSpace();
        const char* pSaved = m_p;
        if (m_p != m_end && !kNotIdFirst[static_cast<unsigned char>(*m_p)] &&
            Identifier() == keyword)
            return true;
        m_p = pSaved;
        return false;
    }

    // A number ends where a separator or a bracket starts; "1x" or "2.5.1" is no number.
    void EndOfNumber(const char* pEnd) {
        m_p = pEnd;
        if (m_p == m_end)
            return;
        const char c = *m_p;
        if (!(c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',' || c == '#' || c == ']' ||
              c == '[' || c == '}' || c == '{'))
            Fail();
    }
    // The start of a decimal number after an optional sign; from_chars takes no '+'.
    const char* NumberStart(bool& bNegative) {
        SkipSpace();
        const char* p = m_p;
        bNegative = false;
        if (p != m_end && (*p == '+' || *p == '-')) {
            bNegative = *p == '-';
            ++p;
        }
        if (p == m_end || !((*p >= '0' && *p <= '9') || *p == '.'))
            Fail();
        return p;
    }
    template <class T> T Real() {
        bool bNegative = false;
        const char* p = NumberStart(bNegative);
        T value{};
        const auto [pEnd, ec] = std::from_chars(p, m_end, value, std::chars_format::general);
        if (ec != std::errc())
            Fail();
        EndOfNumber(pEnd);
        return bNegative ? -value : value;
    }
    int32_t Int32() {
        bool bNegative = false;
        const char* p = NumberStart(bNegative);
        int64_t value = 0;
        std::from_chars_result result{};
        if (m_end - p > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
            // Hexadecimal values are bit patterns (image pixels such as 0xFF8000FF).
            uint32_t bits = 0;
            result = std::from_chars(p + 2, m_end, bits, 16);
            value = static_cast<int32_t>(bits);
        } else {
            result = std::from_chars(p, m_end, value);
            if (value > INT32_MAX + int64_t{1} || (value > INT32_MAX && !bNegative))
                Fail();
        }
        if (result.ec != std::errc())
            Fail();
        EndOfNumber(result.ptr);
        return static_cast<int32_t>(bNegative ? -value : value);
    }
    int32_t Bool() {
        const std::string_view word = Identifier();
        if (word == "TRUE")
            return 1;
        if (word == "FALSE")
            return 0;
        Fail();
    }
    // A quoted string; a backslash takes the next character as it is (\" and \\).
    std::wstring String() {
        Expect('"');
        std::string text;
        for (;;) {
            if (m_p == m_end)
                Fail();
            char c = *m_p++;
            if (c == '"')
                break;
            if (c == '\\') {
                if (m_p == m_end)
                    Fail();
                c = *m_p++;
            }
            text.push_back(c);
        }
        return WidenUtf8(text);
    }

    // One value of the type's kind; for an MF type, one element of the list.
    void ElementInto(Scope& scope, const FieldTypeInfo& type, FieldValue& value) {
        switch (type.kind) {
        case ValueKind::Bool:
            value.ints.push_back(Bool());
            break;
        case ValueKind::Int32:
            value.ints.push_back(Int32());
            break;
        case ValueKind::Float:
            for (int i = 0; i < type.nComponents; ++i)
                value.floats.push_back(Real<float>());
            break;
        case ValueKind::Time:
            value.times.push_back(Real<double>());
            break;
        case ValueKind::String:
            value.strings.push_back(String());
            break;
        case ValueKind::Node:
            if (!type.bMulti && AcceptKeyword("NULL"))
                break;
            value.nodes.push_back(NodeStatement(scope, Identifier()));
            break;
        case ValueKind::Image:
            ImageInto(value);
            break;
        }
    }
    // Width, height, components per pixel, then width * height pixels.
    void ImageInto(FieldValue& value) {
        const int32_t nWidth = Int32();
        const int32_t nHeight = Int32();
        const int32_t nComponents = Int32();
        if (nWidth < 0 || nHeight < 0 || nComponents < 0 || nComponents > 4)
            Fail();
        value.ints = {nWidth, nHeight, nComponents};
        const int64_t nPixels = int64_t{nWidth} * nHeight;
        for (int64_t i = 0; i < nPixels; ++i)
            value.ints.push_back(Int32());
    }
    void FieldValueInto(Scope& scope, const FieldTypeInfo& type, FieldValue& value) {
        value = FieldValue();
        if (!type.bMulti) {
            ElementInto(scope, type, value);
            return;
        }
        if (!Accept('[')) {
            ElementInto(scope, type, value);
            return;
        }
        while (!Accept(']')) {
            if (m_p == m_end)
                Fail();
            ElementInto(scope, type, value);
        }
    }

    // Statements up to the closing character ('\0': the end of the text). Root nodes go to
    // pRoots; a prototype body passes none and its nodes are checked and dropped.
    void Statements(Scope& scope, std::vector<CComPtr<INodeObject>>* pRoots, char closing) {
        for (;;) {
            if (closing ? Accept(closing) : AtEnd())
                return;
            if (m_p == m_end)
                Fail();
            const std::string_view word = Identifier();
            if (word == "PROTO" || word == "EXTERNPROTO") {
                Prototype(scope, word == "EXTERNPROTO");
            } else if (word == "ROUTE") {
                Route(scope);
            } else {
                CComPtr<INodeObject> spNode = NodeStatement(scope, word);
                if (pRoots)
                    pRoots->push_back(std::move(spNode));
            }
        }
    }

    CComPtr<INodeObject> NodeStatement(Scope& scope, std::string_view word) {
        if (word == "USE") {
            const auto it = scope.defs.find(Identifier());
            if (it == scope.defs.end())
                Fail();
            return it->second;
        }
        if (word != "DEF")
            return Node(scope, word, std::string_view());
        const std::string_view name = Identifier();
        CComPtr<INodeObject> spNode = Node(scope, Identifier(), name);
        scope.defs.insert_or_assign(std::string(name), spNode);
        return spNode;
    }

    CComPtr<INodeObject> Node(Scope& scope, std::string_view typeName, std::string_view defName) {
        DepthGuard guard(*this);
        const bool bScript = typeName == "Script";
        NodeTypePtr spType = bScript ? ScriptBaseType() : scope.FindProto(typeName);
        if (!spType)
            spType = FindStandardNodeType(typeName);
        if (!spType)
            Fail();
        std::shared_ptr<NodeType> spScriptType;
        if (bScript)
            spScriptType = std::make_shared<NodeType>(*spType);
        std::vector<FieldValue> values;
        values.reserve(spType->fields.size());
        for (const FieldDecl& field : spType->fields)
            values.push_back(field.defaultValue);

        Expect('{');
        while (!Accept('}')) {
            if (m_p == m_end)
                Fail();
            const std::string_view word = Identifier();
            if (word == "PROTO" || word == "EXTERNPROTO") {
                Prototype(scope, word == "EXTERNPROTO");
            } else if (word == "ROUTE") {
                Route(scope);
            } else if (spScriptType && (word == "field" || word == "eventIn" ||
                                        word == "eventOut" || word == "exposedField")) {
                ScriptDeclaration(scope, word, *spScriptType, values);
            } else {
                const NodeType& type = spScriptType ? *spScriptType : *spType;
                const int nField = type.FindField(word);
                if (AcceptKeyword("IS")) {
                    IsReference(scope);
                } else {
                    if (nField < 0)
                        Fail();
                    FieldValueInto(scope,
                                   FieldTypeOf(type.fields[static_cast<size_t>(nField)].type),
                                   values[static_cast<size_t>(nField)]);
                }
            }
        }
        if (spScriptType)
            spType = std::move(spScriptType);
        return CreateNodeObject(m_spState, std::move(spType), WidenUtf8(defName),
                                std::move(values));
    }

    // "IS name" maps a field or event of a node in a prototype body to the prototype's
    // interface; outside a body, or to an undeclared name, it is an error.
    void IsReference(Scope& scope) {
        const std::string_view name = Identifier();
        if (!scope.pInterface || (scope.pInterface->FindField(name) < 0 &&
                                  scope.events.find(name) == scope.events.end()))
            Fail();
    }

    // A Script's own field or event: fields become fields of this Script node.
    void ScriptDeclaration(Scope& scope, std::string_view kind, NodeType& type,
                           std::vector<FieldValue>& values) {
        const FieldTypeInfo& fieldType = TypeName();
        const std::string_view name = Identifier();
        if (type.FindField(name) >= 0)
            Fail();
        const bool bField = kind == "field" || kind == "exposedField";
        FieldValue value = ZeroValue(fieldType);
        if (AcceptKeyword("IS"))
            IsReference(scope);
        else if (bField)
            FieldValueInto(scope, fieldType, value);
        if (!bField)
            return;
        type.fields.push_back(FieldDecl{std::string(name), WidenUtf8(name), fieldType.type, {}});
        values.push_back(std::move(value));
    }

    const FieldTypeInfo& TypeName() {
        const FieldTypeInfo* pType = FindFieldType(Identifier());
        if (!pType)
            Fail();
        return *pType;
    }

    // PROTO name [ interface ] { body } or EXTERNPROTO name [ interface ] urls. Instances
    // get the interface's fields with their defaults (zero values for EXTERNPROTO).
    void Prototype(Scope& scope, bool bExtern) {
        DepthGuard guard(*this);
        auto spType = std::make_shared<NodeType>();
        const std::string_view name = Identifier();
        spType->name = std::string(name);
        spType->wideName = WidenUtf8(name);
        Scope body;
        body.pOuter = &scope;
        Expect('[');
        while (!Accept(']')) {
            if (m_p == m_end)
                Fail();
            const std::string_view kind = Identifier();
            const bool bField = kind == "field" || kind == "exposedField";
            if (!bField && kind != "eventIn" && kind != "eventOut")
                Fail();
            const FieldTypeInfo& fieldType = TypeName();
            const std::string_view fieldName = Identifier();
            if (spType->FindField(fieldName) >= 0 ||
                body.events.find(fieldName) != body.events.end())
                Fail();
            if (!bField) {
                body.events.insert(std::string(fieldName));
                continue;
            }
            FieldValue value = ZeroValue(fieldType);
            if (!bExtern)
                FieldValueInto(scope, fieldType, value);
            spType->fields.push_back(
                FieldDecl{std::string(fieldName), WidenUtf8(fieldName), fieldType.type, value});
        }
        if (bExtern) {
            FieldValue urls;
            FieldValueInto(scope, FieldTypeOf(VRML_MFSTRING), urls);
        } else {
            body.pInterface = spType.get();
            Expect('{');
            Statements(body, nullptr, '}');
        }
        scope.protos.insert_or_assign(std::string(name), std::move(spType));
    }

    // ROUTE node.event TO node.event, between nodes named in this scope.
    void Route(Scope& scope) {
        for (int nEnd = 0; nEnd < 2; ++nEnd) {
            if (nEnd == 1 && !AcceptKeyword("TO"))
                Fail();
            if (scope.defs.find(Identifier()) == scope.defs.end())
                Fail();
            Expect('.');
            Identifier();
        }
    }

    class DepthGuard {
    public:
        explicit DepthGuard(Parser& parser) : m_parser(parser) {
            if (++m_parser.m_nDepth > kMaxDepth)
                Fail();
        }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;
        ~DepthGuard() { --m_parser.m_nDepth; }

    private:
        Parser& m_parser;
    };

    EngineStatePtr m_spState;
    const char* m_p;
    const char* m_end;
    int m_nDepth = 0;
};

// Only tabs and line ends among the control characters, and valid UTF-8 throughout.
bool IsVrmlText(std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            return false;
    }
    return text.size() < INT32_MAX &&
           MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                               static_cast<int>(text.size()), nullptr, 0) > 0;
}

} // namespace

std::vector<CComPtr<INodeObject>> ParseVrmlScene(const EngineStatePtr& spState,
                                                 std::string_view text) {
    if (text.substr(0, kHeader.size()) != kHeader || !IsVrmlText(text))
        throw VrmlSyntaxError();
    const std::string_view rest = text.substr(kHeader.size());
    if (!rest.empty() && rest[0] != ' ' && rest[0] != '\t' && rest[0] != '\n' && rest[0] != '\r')
        throw VrmlSyntaxError();
    return Parser(spState, text).Scene();
}

FieldValue ParseVrmlFieldValue(const FieldTypeInfo& type, std::string_view text) {
    return Parser(nullptr, text).Value(type);
}
