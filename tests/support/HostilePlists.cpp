#include "HostilePlists.h"

#include <QtEndian>

namespace HostilePlists {

QByteArray ref(quint32 index)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(index, bytes.data());
    return bytes;
}

QByteArray binary(const QList<QByteArray> &objects)
{
    QByteArray out("bplist00");
    QByteArray table;
    for (const QByteArray &object : objects) {
        table += ref(quint32(out.size()));
        out += object;
    }
    const quint64 tableOffset = quint64(out.size());
    out += table;
    QByteArray trailer(32, '\0');
    trailer[6] = 4; // offset size
    trailer[7] = 4; // reference size
    qToBigEndian(quint64(objects.size()), trailer.data() + 8);
    qToBigEndian(tableOffset, trailer.data() + 24);
    return out + trailer;
}

QByteArray deepXml(int depth)
{
    return "<plist version=\"1.0\">" + QByteArray("<array>").repeated(depth) +
           QByteArray("</array>").repeated(depth) + "</plist>";
}

QByteArray deepBinary(int depth)
{
    QList<QByteArray> objects;
    for (int i = 0; i + 1 < depth; ++i)
        objects.append("\xA1" + ref(quint32(i + 1)));
    objects.append("\xA0");
    return binary(objects);
}

QList<Case> all()
{
    const QByteArray head("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n");
    const QByteArray padding(64, 'B');
    const auto dict = [](const QByteArray &key, const QByteArray &value) {
        return binary({"\xD1" + ref(1) + ref(2), key, value});
    };
    return {
        // The 53-byte Info.plist: a key "é" + U+0000 in UTF-16.
        {"binary key holding U+0000",
         QByteArray::fromBase64("YnBsaXN0MDDRAQJiAOkAAFF4CAsQAAAAAAAAAQEAAAAAAAAAAwAAAAAAAAAAAAA"
                                "AAAAAABI=")},
        {"XML key holding U+0000",
         head + "<dict><key>\xC3\xA9&#0;</key><string>x</string></dict></plist>"},
        {"XML key holding a NUL byte", head + "<dict><key>\xC3\xA9" + QByteArray(1, '\0') +
                                           "</key><string>x</string></dict></plist>"},
        {"XML key of malformed UTF-8",
         head + "<dict>\n\t<key>\xC0\xC0</key>\n\t<string>x</string>\n</dict>\n</plist>\n"},
        {"binary ASCII key of malformed UTF-8", dict(QByteArray("\x52\xC0\xC0"), "\x51x")},
        {"binary UTF-16 key of a lone surrogate", dict(QByteArray("\x61\xD8\x00", 3), "\x51x")},
        {"XML string holding a NUL byte", head + "<dict><key>k</key><string>a" +
                                              QByteArray(1, '\0') + padding +
                                              "</string></dict></plist>"},
        {"binary string holding U+0000",
         dict("\x51k", "\x5F\x10\x42" + QByteArray("a\0", 2) + padding)},
        {"200,000 nested XML arrays", deepXml(200000)},
        {"100,000 nested binary arrays", deepBinary(100000)},
    };
}

} // namespace HostilePlists
