#pragma once

#include <QString>

// What a sheet on the main window says: a title and a message, the default button "OK" and,
// for a question, the alternate button "Cancel". Model objects describe their questions with it;
// the window shows them.
struct SheetText {
    QString title;
    QString message;
    // A question has "Cancel" beside "OK"; a plain piece of information has "OK" only.
    bool isQuestion = true;

    bool operator==(const SheetText &) const = default;
};
