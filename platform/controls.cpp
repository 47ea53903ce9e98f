// Controls found by their signature and number, kept as dynamic properties
// of the widgets in the interface files.
#include "controls.h"

#include "internal.h"
#include "testing.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QUrl>

namespace
{

QWidget *widgetOf(ControlRef control)
{
    return reinterpret_cast<QWidget *>(control);
}

} // namespace

OSStatus GetControlByID(WindowRef window, const ControlID *id, ControlRef *outControl)
{
    *outControl = nullptr;
    QWidget *top = platform::widgetOf(window);
    if (!top || !id)
        return paramErr;
    const QString signature = platform::fourCharCodeText(id->signature);
    for (QWidget *widget : top->findChildren<QWidget *>()) {
        if (widget->property("controlSignature").toString() == signature &&
            widget->property("controlID").toInt() == id->id) {
            *outControl = reinterpret_cast<ControlRef>(widget);
            return noErr;
        }
    }
    return errAEDescNotFound;
}

std::string GetControlText(ControlRef control)
{
    QWidget *widget = widgetOf(control);
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        return field->text().toStdString();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->text().toStdString();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->text().toStdString();
    return std::string();
}

OSStatus SetControlText(ControlRef control, const std::string &text)
{
    QWidget *widget = widgetOf(control);
    const QString value = QString::fromStdString(text);
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        field->setText(value);
    else if (auto *label = qobject_cast<QLabel *>(widget))
        label->setText(value);
    else if (auto *button = qobject_cast<QAbstractButton *>(widget))
        button->setText(value);
    else
        return paramErr;
    return noErr;
}

std::int32_t GetControl32BitValue(ControlRef control)
{
    QWidget *widget = widgetOf(control);
    if (auto *popup = qobject_cast<QComboBox *>(widget))
        return popup->currentIndex() + 1;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return button->isChecked() ? 1 : 0;
    return 0;
}

void SetControl32BitValue(ControlRef control, std::int32_t value)
{
    QWidget *widget = widgetOf(control);
    if (auto *popup = qobject_cast<QComboBox *>(widget)) {
        if (value >= 1 && value <= popup->count())
            popup->setCurrentIndex(value - 1);
    } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        button->setChecked(value != 0);
    }
}

OSStatus EnableControl(ControlRef control)
{
    if (!control)
        return paramErr;
    widgetOf(control)->setEnabled(true);
    return noErr;
}

OSStatus DisableControl(ControlRef control)
{
    if (!control)
        return paramErr;
    widgetOf(control)->setEnabled(false);
    return noErr;
}

Boolean IsControlEnabled(ControlRef control)
{
    return control && widgetOf(control)->isEnabled();
}

void Draw1Control(ControlRef control)
{
    if (control)
        widgetOf(control)->update();
}

OSStatus SetKeyboardFocus(WindowRef, ControlRef control)
{
    if (!control)
        return paramErr;
    QWidget *widget = widgetOf(control);
    widget->setFocus(Qt::OtherFocusReason);
    if (auto *field = qobject_cast<QLineEdit *>(widget))
        field->selectAll();
    return noErr;
}

OSStatus ClickControl(ControlRef control)
{
    QWidget *widget = widgetOf(control);
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        if (!button->isEnabled())
            return paramErr;
        button->click();
        return noErr;
    }
    if (auto *popup = qobject_cast<QComboBox *>(widget)) {
        if (!popup->isEnabled())
            return paramErr;
        // A user's choice: the pop-up reports it as it would from the mouse.
        emit popup->activated(popup->currentIndex());
        return noErr;
    }
    return paramErr;
}

bool ClickCommandButton(WindowRef window, std::uint32_t commandID)
{
    QWidget *top = platform::widgetOf(window);
    if (!top)
        return false;
    const QString command = platform::fourCharCodeText(commandID);
    for (QAbstractButton *button : top->findChildren<QAbstractButton *>()) {
        if (button->property("commandID").toString() == command && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

bool ChoosePopupItem(ControlRef popup, std::int32_t item)
{
    auto *combo = qobject_cast<QComboBox *>(widgetOf(popup));
    if (!combo || !combo->isEnabled() || item < 1 || item > combo->count())
        return false;
    combo->setCurrentIndex(item - 1);
    emit combo->activated(item - 1);
    return true;
}

bool TypeIntoField(ControlRef field, const std::string &text)
{
    auto *edit = qobject_cast<QLineEdit *>(widgetOf(field));
    if (!edit || !edit->isEnabled())
        return false;
    edit->selectAll();
    edit->insert(QString::fromStdString(text));
    return true;
}

ControlRef GetFocusedControl(WindowRef window)
{
    QWidget *top = platform::widgetOf(window);
    return top ? reinterpret_cast<ControlRef>(top->focusWidget()) : nullptr;
}

bool IsFieldTextSelected(ControlRef field)
{
    auto *edit = qobject_cast<QLineEdit *>(widgetOf(field));
    return edit && !edit->text().isEmpty() && edit->selectedText() == edit->text();
}

std::vector<ControlRef> GetTabChain(WindowRef window)
{
    std::vector<ControlRef> chain;
    QWidget *top = platform::widgetOf(window);
    QWidget *start = top ? top->focusWidget() : nullptr;
    if (!start)
        return chain;
    QWidget *widget = start;
    do {
        if (widget->focusPolicy() & Qt::TabFocus && widget->isEnabled())
            chain.push_back(reinterpret_cast<ControlRef>(widget));
        widget = widget->nextInFocusChain();
    } while (widget && widget != start && chain.size() < 64);
    return chain;
}

OSStatus SetControlURL(ControlRef control, const std::string &path)
{
    auto *browser = qobject_cast<QTextBrowser *>(widgetOf(control));
    if (!browser)
        return paramErr;
    const QString text = QString::fromStdString(path);
    browser->setSource(text.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + text)
                                                         : QUrl::fromLocalFile(text));
    return noErr;
}

std::string GetControlURL(ControlRef control)
{
    auto *browser = qobject_cast<QTextBrowser *>(widgetOf(control));
    return browser ? browser->source().toString().toStdString() : std::string();
}
