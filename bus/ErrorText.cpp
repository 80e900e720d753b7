#include "ErrorText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

void ErrorText::set(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(m_text, capacity, format, arguments);
    va_end(arguments);
    m_length = std::strlen(m_text);
}

void ErrorText::append(const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(m_text + m_length, capacity - m_length, format, arguments);
    va_end(arguments);
    m_length = std::strlen(m_text);
}
