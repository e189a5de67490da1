// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A GSM modem of our own on the master side of a pseudo-terminal pair (the client opens slavePath()), for
// tests: it answers AT commands in PDU mode, decodes each SMS-SUBMIT with its own code, joins the parts
// of a concatenated message and keeps what it received. Its behaviour is scripted; every wait has a time
// limit, and it stops when destroyed.

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zolbin::test {

// What the modem does instead of "+CMS ERROR: code" to the n-th AT+CMGS.
inline constexpr int SilentAfterPdu = -1;     // takes the PDU and says nothing
inline constexpr int NoPrompt = -2;           // waits for a PDU without prompting for it (ESC cancels)
inline constexpr int OkWithoutReference = -3; // takes the PDU and answers "OK" without "+CMGS"

struct GsmBehaviour
{
    std::string pin;                 // the SIM asks for this PIN until it is given
    bool puk = false;                // the SIM is locked and asks for its PUK
    bool silent = false;             // answers nothing at all (until setSilent(false))
    std::map<int, int> refusedParts; // "+CMS ERROR: code" for the n-th AT+CMGS (from 1), or one of the above
    std::string echoNoise;           // keeps its echo on whatever ATE0 says, these bytes before each echo
    bool barePrompt = false;         // prompts with ">" without its space
};

// One message as the network would deliver it.
struct GsmMessage
{
    std::string number; // "+" and digits
    int coding = 0;     // the data coding scheme
    int parts = 0;
    std::string text; // UTF-8
};

class GsmModem
{
public:
    explicit GsmModem(GsmBehaviour behaviour);
    ~GsmModem();
    GsmModem(const GsmModem&) = delete;
    GsmModem& operator=(const GsmModem&) = delete;

    const std::string& slavePath() const { return slavePath_; }
    void setSilent(bool silent) { silent_ = silent; }

    std::vector<GsmMessage> messages() const;
    std::vector<std::string> commands() const; // every command line received, the PIN as sent
    int partsAccepted() const;

    // Decodes one PDU as given to AT+CMGS (service centre octets first). Throws on a malformed one.
    struct Decoded
    {
        std::string number;
        int coding = 0;
        int tpduLength = 0;
        int reference = -1, total = 1, sequence = 1;
        std::string text; // UTF-8
    };
    static Decoded Decode(const std::string& hex);

private:
    void run();
    bool readByte(char& c);
    void write(const std::string& bytes);
    void answer(const std::string& command);
    // Reads the PDU up to SUB; false when ESC cancelled it.
    bool takePdu(std::string& hex);
    void submit(const std::string& hex, int length, int rule);

    GsmBehaviour behaviour_;
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    bool echo_ = true;
    bool unlocked_ = false;
    int submits_ = 0;
    std::map<int, std::map<int, Decoded>> pending_; // by reference, by sequence
    mutable std::mutex mutex_;
    std::vector<GsmMessage> messages_;
    std::vector<std::string> commands_;
    int accepted_ = 0;
    std::atomic<bool> silent_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace zolbin::test
