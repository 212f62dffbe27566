#include "accessibility.h"

#include "picturebox.h"

#include <QAccessibleWidget>
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

QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("frmMain")) {
        return new WindowAccessible(static_cast<QWidget *>(object));
    }
    if (className == QLatin1String("PictureBox")) {
        return new CellAccessible(static_cast<PictureBox *>(object));
    }
    return nullptr;
}

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

} // namespace

Q_DECLARE_METATYPE(ObjectReference)

namespace accessibility {

void install()
{
    static const bool installed = [] {
        QAccessible::installFactory(interfaceFor);
        qDBusRegisterMetaType<ObjectReference>();
        return true;
    }();
    Q_UNUSED(installed);
}

void announceName(QWidget *cell)
{
    // Qt 6.4's AT-SPI bridge sends a name change with an object reference
    // where screen readers expect the new name, and Orca drops it. The same
    // event with the name as text goes out here, on the bridge's own
    // connection to the accessibility bus, so that it comes from the game.
    if (!QAccessible::isActive()) {
        return;
    }
    const QDBusConnection bus(QStringLiteral("a11y"));
    QAccessibleInterface *const cellInterface = QAccessible::queryAccessibleInterface(cell);
    if (!bus.isConnected() || cellInterface == nullptr) {
        return;
    }
    const QString path =
        QStringLiteral("/org/a11y/atspi/accessible/") + QString::number(QAccessible::uniqueId(cellInterface));
    QDBusMessage event = QDBusMessage::createSignal(
        path, QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    event << QStringLiteral("accessible-name") << 0 << 0
          << QVariant::fromValue(QDBusVariant(cellInterface->text(QAccessible::Name)))
          << QVariant::fromValue(ObjectReference{
                 bus.baseService(), QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))});
    bus.send(event);
}

} // namespace accessibility
