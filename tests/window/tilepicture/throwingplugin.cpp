#include <QImageIOHandler>
#include <QImageIOPlugin>

#include <new>
#include <stdexcept>

// An image format plugin that fails as a third-party decoder can: by
// throwing. Files starting "THROW:NOMEM" throw std::bad_alloc, other files
// starting "THROW:" a std::runtime_error, once asked for their size.
class ThrowingHandler : public QImageIOHandler {
public:
    bool canRead() const override { return true; }
    bool read(QImage *) override { return false; }
    bool supportsOption(ImageOption option) const override { return option == Size; }

    QVariant option(ImageOption) const override
    {
        if (device()->peek(11) == "THROW:NOMEM") {
            throw std::bad_alloc();
        }
        throw std::runtime_error("decoder failed");
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
