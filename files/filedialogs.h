// The file dialogs and questions: a document's are sheets on its window, at
// most one at a time, the others application-modal; each finishes in its answer.
#pragma once

#include "document/document.h"

#include <QCoreApplication>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The translation context of the dialogs' texts.
class Navigation
{
    Q_DECLARE_TR_FUNCTIONS(Navigation)
};

// A Save dialog's format: its name ("CSV") and extension without the dot.
struct tSaveFormat {
    std::string name;
    std::string extension;
};
// The chosen file, whether it is to be replaced (as the user confirmed), and format.
struct tSaveLocation {
    std::string path;
    bool replacing = false;
    std::size_t format = 0;
};
using tSaveAnswer = std::function<void(const std::optional<tSaveLocation> &)>;

// A Save dialog proposing name with the chosen format's extension (table
// documents' without formats); nullopt answers Cancel.
void BRunSaveDialog(tDocumentPtr theDocumentPtr, const std::string &name,
                    const std::vector<tSaveFormat> &formats, const tSaveAnswer &answer);
// A warning with buttons, the first the default and the last Cancel (also
// for Escape), text's %1 the document's quoted name; answer hears the index.
void BAsk(tDocumentPtr theDocumentPtr, const QString &text, const QString &detail, const QStringList &buttons,
          const std::function<void(int)> &answer);

void BDoCreateOpenPanel();
void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr);
