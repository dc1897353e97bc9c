#pragma once

#include <QImage>
#include <QMutex>
#include <QString>
#include <memory>

// An image that refers to a file and decodes it only when it is first drawn, so that building a
// catalogue of many applications decodes no icon. Shared between listings and views.
class IconImage {
public:
    explicit IconImage(QString filePath);
    // An image already in memory (the generic icon).
    explicit IconImage(QImage image);

    QString filePath() const { return m_filePath; }
    // Decodes on first use; the largest image in the file. Null when the file is unreadable.
    QImage image() const;
    // Whether image() has decoded the file yet (benchmarks and tests check this).
    bool isLoaded() const;

private:
    QString m_filePath;
    mutable QMutex m_mutex;
    mutable bool m_loaded = false;
    mutable QImage m_image;
};

using IconImagePtr = std::shared_ptr<IconImage>;
