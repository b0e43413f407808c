// Reports of other lengths than the frame, write and read failures: a bus with
// one hand-made device instead of the emulated unit.
#include "link/LinkWindow.h"

#include "app/LinkDisplay.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Wire {
    std::vector<QByteArray> written;
    bool failWrites = false;
    QString lengthsNote; // what the backend says of a descriptor it could not use
    std::function<void(QByteArray)> onReport;
    std::function<void(int, QString)> onError;
};

class FakeConnection : public HidConnection {
public:
    FakeConnection(Wire* wire, int in, int out) : wire_(wire), in_(in), out_(out) {}
    bool Write(const quint8* data, int length, int* errorCode, QString* errorText) override {
        if (wire_->failWrites) {
            *errorCode = 31;
            *errorText = QStringLiteral("device not functioning");
            return false;
        }
        wire_->written.emplace_back(reinterpret_cast<const char*>(data), length);
        return true;
    }
    void StartReading(std::function<void(QByteArray)> onReport,
                      std::function<void(int, QString)> onError) override {
        wire_->onReport = std::move(onReport);
        wire_->onError = std::move(onError);
    }
    void Close() override {}
    void ReportLengths(int* inputLength, int* outputLength) const override {
        *inputLength = in_;
        *outputLength = out_;
    }
    QString ReportLengthsNote() const override { return wire_->lengthsNote; }

private:
    Wire* wire_;
    int in_, out_;
};

class FakeBackend : public HidBackend {
public:
    FakeBackend(Wire* wire, int in, int out) : wire_(wire), in_(in), out_(out) {}
    QList<HidDeviceInfo> Enumerate() override {
        HidDeviceInfo info;
        info.path = QStringLiteral("fake0");
        info.vendorId = 0x0483;
        info.productId = 0x690E;
        info.inputReportLength = in_;
        info.outputReportLength = out_;
        return {info};
    }
    std::unique_ptr<HidConnection> Open(const HidDeviceInfo&, int*, QString*) override {
        return std::make_unique<FakeConnection>(wire_, in_, out_);
    }
    void WatchChanges(std::function<void()>) override {}

private:
    Wire* wire_;
    int in_, out_;
};

std::vector<uint8_t> Status(std::size_t size) {
    std::vector<uint8_t> f(size, 0);
    f[0] = 0x01;
    f[1] = 0x57;
    f[2] = 6;
    f[3] = 0xA7;
    f[5] = 255;
    f[7] = 2;
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < size; ++i)
        sum += f[i];
    f[size - 1] = static_cast<uint8_t>(-sum & 0xFF);
    return f;
}

class ReportLengthTest : public ::testing::Test {
protected:
    void Start(int in, int out) {
        form9 = std::make_unique<TForm9>(Params, std::make_unique<FakeBackend>(&wire, in, out));
        ConnectLinkToWindows(*form9);
        QCoreApplication::sendPostedEvents();
    }
    void TearDown() override {
        form9.reset();
        QCoreApplication::sendPostedEvents();
    }
    QString LastHistory() const {
        const int n = form9->HistoryListBox->count();
        return n ? form9->HistoryListBox->item(n - 1)->text() : QString();
    }
    ScriptedDialogs dialogs;
    Wire wire;
    std::unique_ptr<TForm9> form9;
};

} // namespace

TEST_F(ReportLengthTest, LongerOutputReportIsPaddedWithZeros) {
    Start(30, 64);
    ASSERT_EQ(wire.written.size(), 1u); // the start sign
    EXPECT_EQ(wire.written[0].size(), 64);
    EXPECT_EQ(static_cast<uint8_t>(wire.written[0][0]), 0x02);
    for (int i = 16; i < 64; ++i)
        EXPECT_EQ(wire.written[0][i], 0);
    EXPECT_EQ(form9->ReportID->text(), QStringLiteral("02"));
    EXPECT_TRUE(LastHistory().startsWith(QStringLiteral("W 02  01 57 07 ")));
    EXPECT_EQ(LastHistory().size(), QStringLiteral("W 02  ").size() + 63 * 3);

    form9->Session->SendData(WriteMode, 0x105, 300);
    ASSERT_EQ(wire.written.size(), 2u);
    EXPECT_EQ(wire.written[1].size(), 64);
    EXPECT_EQ(form9->ReportID->text(), QStringLiteral("01"));
    EXPECT_TRUE(LastHistory().startsWith(QStringLiteral("WW 01  01 57 06 a7 01 05 01 2c")));
}

TEST_F(ReportLengthTest, OutputReportTooShortForAFrameIsNotWritten) {
    Start(30, 8);
    EXPECT_TRUE(wire.written.empty());
    EXPECT_TRUE(LastHistory().startsWith(QStringLiteral("WRITE ERROR: ")));
}

TEST_F(ReportLengthTest, WriteFailureIsLoggedWithTheCodeInHex) {
    wire.failWrites = true;
    Start(30, 30);
    EXPECT_EQ(LastHistory(), QStringLiteral("WRITE ERROR: device not functioning (1f)"));
    EXPECT_EQ(form9->Session->LinkState, Offline);
}

TEST_F(ReportLengthTest, UnreadableDescriptorIsLoggedAtCheckOut) {
    wire.lengthsNote = QStringLiteral("REPORT DESCRIPTOR UNREADABLE: using 30 bytes");
    Start(30, 30);
    EXPECT_TRUE(form9->HistoryListBox->findItems(wire.lengthsNote, Qt::MatchExactly).size() == 1);
    EXPECT_EQ(wire.written.size(), 1u); // the start sign, 30 bytes
    EXPECT_EQ(wire.written[0].size(), 30);
}

TEST_F(ReportLengthTest, ReadErrorIsLogged) {
    Start(30, 30);
    ASSERT_TRUE(wire.onError);
    wire.onError(0x3e3, QStringLiteral("read failed"));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(LastHistory(), QStringLiteral("READ ERROR: read failed (3e3)"));
}

TEST_F(ReportLengthTest, InputReportsOfOtherLengthsAreCheckedOnTheirLastByte) {
    Start(64, 30);
    ASSERT_TRUE(wire.onReport);
    const auto longer = Status(64);
    wire.onReport(QByteArray(reinterpret_cast<const char*>(longer.data()), 64));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(form9->Session->LinkAck, 1);
    // Ten bytes: a status code but no levels or volume to read.
    form9->Session->LinkAck = 0;
    const auto shorter = Status(10);
    wire.onReport(QByteArray(reinterpret_cast<const char*>(shorter.data()), 10));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(form9->Session->LinkAck, 1);
    wire.onReport(QByteArray("\x01", 1));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(form9->Session->LinkState, Offline);
}
