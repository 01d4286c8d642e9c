#include "TovikFrameText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr std::size_t maximumLength = 512;

std::string number(double value)
{
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

// A cursor over the text that reads one token at a time and stays failed once anything does not match.
class Reader {
public:
    explicit Reader(std::string_view text)
        : m_text(text)
    {
    }

    void expect(char c)
    {
        skipSpaces();
        if (m_ok && m_position < m_text.size() && m_text[m_position] == c) {
            ++m_position;
        } else {
            m_ok = false;
        }
    }

    double readNumber()
    {
        skipSpaces();
        double value = 0;
        if (!m_ok) {
            return value;
        }
        const char *begin = m_text.data() + m_position;
        const char *end = m_text.data() + m_text.size();
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc() || !std::isfinite(value)) {
            m_ok = false;
            return 0;
        }
        m_position += static_cast<std::size_t>(result.ptr - begin);
        return value;
    }

    bool finished()
    {
        skipSpaces();
        return m_ok && m_position == m_text.size();
    }

private:
    void skipSpaces()
    {
        while (m_position < m_text.size()
               && (m_text[m_position] == ' ' || m_text[m_position] == '\t' || m_text[m_position] == '\n'
                   || m_text[m_position] == '\r')) {
            ++m_position;
        }
    }

    std::string_view m_text;
    std::size_t m_position = 0;
    bool m_ok = true;
};

} // namespace

namespace TovikFrameText {

std::string format(const QRectF &frame)
{
    return "{{" + number(frame.x()) + ", " + number(frame.y()) + "}, {" + number(frame.width()) + ", "
           + number(frame.height()) + "}}";
}

std::optional<QRectF> parse(std::string_view text)
{
    if (text.size() > maximumLength) {
        return std::nullopt;
    }
    Reader reader(text);
    reader.expect('{');
    reader.expect('{');
    const double x = reader.readNumber();
    reader.expect(',');
    const double y = reader.readNumber();
    reader.expect('}');
    reader.expect(',');
    reader.expect('{');
    const double width = reader.readNumber();
    reader.expect(',');
    const double height = reader.readNumber();
    reader.expect('}');
    reader.expect('}');
    if (!reader.finished()) {
        return std::nullopt;
    }
    return QRectF(x, y, width, height);
}

} // namespace TovikFrameText
