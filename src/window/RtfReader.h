#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Reads Rich Text Format (the about box's credits) into HTML that QTextDocument understands:
// paragraphs with alignment and indents, bold/italic/underline/strike-through, sizes, colours,
// fonts and hyperlinks. Pictures, headers and other non-text parts are left out.
namespace RtfReader {

// The styled text of an RTF document as HTML for QTextDocument; nullopt when the bytes are not
// RTF ("{\rtf" after optional white space), the groups do not balance or nest too deep.
std::optional<QString> toHtml(const QByteArray &rtf);

// Reads the file; nullopt when it cannot be read or is not RTF.
std::optional<QString> htmlFromFile(const QString &path);

} // namespace RtfReader
