#include <QImageIOHandler>
#include <QImageIOPlugin>

#include <new>
#include <stdexcept>

// An image format plugin that fails as a third-party decoder can: by
// throwing, once asked for the size. Files starting "THROW:NOMEM" throw
// std::bad_alloc, "THROW:LOGIC" a std::logic_error, "THROW:INT" an int.
class ThrowingHandler : public QImageIOHandler {
public:
    bool canRead() const override { return true; }
    bool read(QImage *) override { return false; }
    bool supportsOption(ImageOption option) const override { return option == Size; }

    QVariant option(ImageOption) const override
    {
        const QByteArray kind = device()->peek(11);
        if (kind == "THROW:NOMEM") {
            throw std::bad_alloc();
        }
        if (kind.startsWith("THROW:INT")) {
            throw 42;
        }
        throw std::logic_error("decoder failed");
    }
};

class ThrowingPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "throwingplugin.json")

public:
    Capabilities capabilities(QIODevice *device, const QByteArray &) const override
    {
        return device != nullptr && device->peek(6) == "THROW:" ? CanRead : Capabilities();
    }

    QImageIOHandler *create(QIODevice *device, const QByteArray &format) const override
    {
        auto *handler = new ThrowingHandler;
        handler->setDevice(device);
        handler->setFormat(format);
        return handler;
    }
};

#include "throwingplugin.moc"
