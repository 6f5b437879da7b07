#pragma once
// Passes an import's reads or an export's writes through to the real file and, once the work has
// taken longer than two seconds, shows on standard error how far it has come (only when standard
// error is a terminal, and not with --quiet). The line is cleared when the device goes.
#include <QElapsedTimer>
#include <QIODevice>

namespace cli {

class ProgressDevice : public QIODevice {
public:
    // `what`: the command name for the line; `total`: the bytes to read, 0 when unknown.
    ProgressDevice(QIODevice& inner, QIODevice::OpenMode mode, const char* what, qint64 total, bool quiet);
    ~ProgressDevice() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override { return QIODevice::bytesAvailable() == 0 && inner_.atEnd(); }
    QString innerError() const { return inner_.errorString(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void show();

    QIODevice& inner_;
    const char* what_;
    qint64 total_;
    bool enabled_;
    bool shown_ = false;
    bool saying_ = false;  // the line says the reading is done
    qint64 bytes_ = 0, lines_ = 0;
    QElapsedTimer clock_;
    qint64 lastShownMs_ = 0;
};

}  // namespace cli
