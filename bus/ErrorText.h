#pragma once

#include <cstddef>

// The library's last error text: at most 255 characters, read by GetExtendedErrorInformation.
class ErrorText
{
public:
    static constexpr size_t capacity = 256;

    void clear() { m_text[0] = '\0'; m_length = 0; }
    void set(const char *format, ...) __attribute__((format(printf, 2, 3)));
    void append(const char *format, ...) __attribute__((format(printf, 2, 3)));

    const char *text() const { return m_text; }
    size_t length() const { return m_length; }
    bool isEmpty() const { return m_length == 0; }

private:
    char m_text[capacity] = {};
    size_t m_length = 0;
};
