#include "accessibility.h"

#include "frmmain.h"
#include "picturebox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMetaObject>

namespace {

// A top-level window is a frame to a screen reader (Qt 6.4 makes it a
// filler). The hidden cell that holds a picture during an exchange is left
// out: no player ever meets it.
class WindowAccessible : public QAccessibleWidget {
public:
    explicit WindowAccessible(QWidget *window)
        : QAccessibleWidget(window, QAccessible::Window)
    {
    }

    int childCount() const override { return static_cast<int>(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = shownChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child == nullptr ? -1 : static_cast<int>(shownChildren().indexOf(child->object()));
    }

private:
    QWidgetList shownChildren() const
    {
        QWidgetList shown;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child != nullptr && !child->isWindow() && !child->isHidden()) {
                shown << child;
            }
        }
        return shown;
    }
};

// A cell is a push button whose default action is the player's click. The
// click runs after the action returns, as a button's does, so that a win
// box it opens does not hold up the screen reader's call.
class CellAccessible : public QAccessibleWidget {
public:
    explicit CellAccessible(PictureBox *cell)
        : QAccessibleWidget(cell, QAccessible::Button)
    {
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    void doAction(const QString &name) override
    {
        if (name == pressAction()) {
            QMetaObject::invokeMethod(static_cast<PictureBox *>(widget()), &PictureBox::click, Qt::QueuedConnection);
            return;
        }
        QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface *interfaceFor(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<frmMain *>(object)) {
        return new WindowAccessible(window);
    }
    if (auto *cell = qobject_cast<PictureBox *>(object)) {
        return new CellAccessible(cell);
    }
    return nullptr;
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// The sender of an AT-SPI event, as the bridge gives it: the application's
// bus name and its root object.
struct ObjectReference {
    QString service;
    QDBusObjectPath path;
};

QDBusArgument &operator<<(QDBusArgument &argument, const ObjectReference &reference)
{
    argument.beginStructure();
    argument << reference.service << reference.path;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ObjectReference &reference)
{
    argument.beginStructure();
    argument >> reference.service >> reference.path;
    argument.endStructure();
    return argument;
}

// Sends a description change of widget whose data is value, as Qt's bridge
// sends its own events: on the bridge's connection to the accessibility
// bus, from the object path the bridge gives the widget.
void sendDescriptionChange(QWidget *widget, const QVariant &value)
{
    const QDBusConnection bus(QStringLiteral("a11y"));
    QAccessibleInterface *const widgetInterface = QAccessible::queryAccessibleInterface(widget);
    if (!bus.isConnected() || widgetInterface == nullptr) {
        return;
    }
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(widgetInterface));
    QDBusMessage event = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    event << QStringLiteral("accessible-description") << 0 << 0 << QVariant::fromValue(QDBusVariant(value))
          << QVariant::fromValue(ObjectReference{
                 bus.baseService(), QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))});
    bus.send(event);
}
#endif

} // namespace

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
Q_DECLARE_METATYPE(ObjectReference)
#endif

namespace accessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        qDBusRegisterMetaType<ObjectReference>();
#endif
        return true;
    }();
    Q_UNUSED(installed);
}

bool listening()
{
    return QAccessible::isActive();
}

void announce(QWidget *origin, const QString &text)
{
    if (!QAccessible::isActive()) {
        return;
    }
    QWidget *about = QApplication::focusWidget();
    if (about == nullptr) {
        about = origin;
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(about, text);
    QAccessible::updateAccessibility(&event);
#else
    // Qt before 6.8 has no announcement, and Qt 6.4's bridge sends a name or
    // description change with a reference to the object where screen readers
    // expect the text, which Orca 43 drops. So the news goes out by hand as a
    // description change that carries the text, which Orca speaks for the
    // focused control, and then one that carries none: that makes a screen
    // reader that keeps a copy of the description read the real one again,
    // and it says nothing. This branch can go once the game needs Qt 6.8.
    sendDescriptionChange(about, text);
    sendDescriptionChange(about, 0);
#endif
}

} // namespace accessibility
