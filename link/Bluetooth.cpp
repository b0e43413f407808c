// The Bluetooth text packet: name, PIN or free text for the receiver module.
#include "link/LinkSession.h"

void LinkSession::SendBluetoothText(const QString& text) {
    TxBuffer[0] = 0x20;
    TxBuffer[1] = static_cast<uint8_t>(text.size() & 0xFF);
    for (int i = 0; i < text.size() && i < MaxBluetoothText; ++i)
        TxBuffer[static_cast<std::size_t>(2 + i)] =
            static_cast<uint8_t>(text.at(i).unicode() & 0xFF);
    SendPacktData(WriteMode, BluetoothAddress, 20);
}
