#pragma once

#include "data/platform.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

// The windows' text conversions, in one place: the core speaks UTF-8 in its
// interfaces and stores GBK in its records; the windows speak QString.
namespace pigmora::ui {

// UTF-8 from the core (a message, a name as listed) as window text.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Window text as UTF-8 for the core.
inline std::string toUtf8(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

// A GBK field of a record (a paint's code or name, a card entry's text) as
// window text; bytes that are not GBK show as U+FFFD.
inline QString fromGbk(std::string_view gbk)
{
    return fromUtf8(platform::gbkToUtf8(gbk));
}

// Window text as GBK; nothing when GBK cannot hold it.
inline std::optional<std::string> toGbk(const QString &text)
{
    return platform::utf8ToGbk(toUtf8(text));
}

} // namespace pigmora::ui
