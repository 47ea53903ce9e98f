// File dialogs and questions: one sheet at a time on a document's window, else application-modal.
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

// A Save dialog proposing name with the chosen format's extension; nullopt answers Cancel.
void BRunSaveDialog(tDocumentPtr theDocumentPtr, const std::string &name,
                    const std::vector<tSaveFormat> &formats, const tSaveAnswer &answer);
// The same as a sheet on any window of the program; nothing when the window shows one already.
void BRunSaveDialogOn(QWidget *window, const std::string &name, const std::vector<tSaveFormat> &formats,
                      const tSaveAnswer &answer);
// A warning whose first button is the default and last Cancel (also Escape); %1 is the quoted name.
void BAsk(tDocumentPtr theDocumentPtr, const QString &text, const QString &detail, const QStringList &buttons,
          const std::function<void(int)> &answer);

void BDoCreateOpenPanel();
void BDoCreateRevertPanel(tDocumentPtr theDocumentPtr);
