#include "TovikLocalProtocol.h"

#include <array>

namespace TovikLocalProtocol {

namespace {

constexpr std::string_view activationOption = "activation";

struct KindName {
    Kind kind;
    std::string_view name;
};
constexpr std::array<KindName, 3> kindNames{{{Kind::open, "open"}, {Kind::reopen, "reopen"}, {Kind::reload, "reload"}}};

bool mustEscape(unsigned char byte)
{
    return byte < 0x21 || byte == 0x7f || byte == '%' || byte == '=';
}

std::string escaped(std::string_view text)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string word;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (mustEscape(byte)) {
            word += '%';
            word += hex[byte >> 4];
            word += hex[byte & 0x0f];
        } else {
            word += c;
        }
    }
    return word;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// None for an empty word, a stray byte that should have been escaped, or a broken escape.
std::optional<std::string> unescaped(std::string_view word)
{
    if (word.empty()) {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%') {
            if (mustEscape(static_cast<unsigned char>(word[i]))) {
                return std::nullopt;
            }
            text += word[i];
            continue;
        }
        if (i + 2 >= word.size()) {
            return std::nullopt;
        }
        const int high = hexValue(word[i + 1]);
        const int low = hexValue(word[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return text;
}

std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = line.find(' ', start);
        words.push_back(line.substr(start, space == std::string_view::npos ? std::string_view::npos : space - start));
        if (space == std::string_view::npos) {
            return words;
        }
        start = space + 1;
    }
}

bool hasAllowedShape(const Request &request)
{
    switch (request.kind) {
    case Kind::open:
        return !request.arguments.empty();
    case Kind::reopen:
        return request.arguments.empty();
    case Kind::reload:
        return request.arguments.size() == 1 && request.activationToken.empty();
    }
    return false;
}

} // namespace

std::optional<std::string> encode(const Request &request)
{
    if (!hasAllowedShape(request)) {
        return std::nullopt;
    }
    std::string line(version);
    for (const KindName &entry : kindNames) {
        if (entry.kind == request.kind) {
            line += ' ';
            line += entry.name;
        }
    }
    if (!request.activationToken.empty()) {
        line += ' ';
        line += activationOption;
        line += '=';
        line += escaped(request.activationToken);
    }
    for (const std::string &argument : request.arguments) {
        if (argument.empty()) {
            return std::nullopt;
        }
        line += ' ';
        line += escaped(argument);
    }
    line += '\n';
    if (line.size() > maximumLineBytes) {
        return std::nullopt;
    }
    return line;
}

std::variant<Request, Reply> decode(std::string_view line)
{
    if (line.size() >= maximumLineBytes) {
        return Reply::errorRequest;
    }
    const std::vector<std::string_view> words = wordsOf(line);
    if (words.front() != version) {
        return Reply::errorVersion;
    }
    if (words.size() < 2) {
        return Reply::errorRequest;
    }
    Request request;
    bool known = false;
    for (const KindName &entry : kindNames) {
        if (entry.name == words[1]) {
            request.kind = entry.kind;
            known = true;
        }
    }
    if (!known) {
        return Reply::errorRequest;
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        const std::string_view word = words[i];
        const std::size_t equals = word.find('=');
        if (equals == std::string_view::npos) {
            const auto argument = unescaped(word);
            if (!argument) {
                return Reply::errorRequest;
            }
            request.arguments.push_back(*argument);
            continue;
        }
        const auto value = unescaped(word.substr(equals + 1));
        if (word.substr(0, equals) != activationOption || !value || !request.activationToken.empty()) {
            return Reply::errorRequest;
        }
        request.activationToken = *value;
    }
    if (!hasAllowedShape(request)) {
        return Reply::errorRequest;
    }
    return request;
}

std::string replyLine(Reply reply)
{
    switch (reply) {
    case Reply::ok:
        return "ok\n";
    case Reply::errorVersion:
        return "error version\n";
    case Reply::errorRequest:
        return "error request\n";
    case Reply::errorUnsupported:
        return "error unsupported\n";
    }
    return "error request\n";
}

std::optional<Reply> decodeReply(std::string_view line)
{
    for (const Reply reply : {Reply::ok, Reply::errorVersion, Reply::errorRequest, Reply::errorUnsupported}) {
        const std::string text = replyLine(reply);
        if (line == std::string_view(text).substr(0, text.size() - 1)) {
            return reply;
        }
    }
    return std::nullopt;
}

} // namespace TovikLocalProtocol
