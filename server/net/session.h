// One client connection: reads whole 128-byte blocks, writes whole blocks
// through a queue. The first block is the user name, the second "join";
// after that every block goes to the player's table. It knows no rules.
#pragma once

#include <asio.hpp>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "config.h"
#include "participant.h"

namespace lerva {

class Lobby;
class Table;

class Session : public Participant, public std::enable_shared_from_this<Session> {
public:
    Session(asio::ip::tcp::socket socket, Lobby& lobby, Millis nameTimeout,
            std::function<void()> onEnded);
    ~Session() override;

    void start();

    void deliver(const Block& block) override;
    void close() override;
    const std::string& name() const override { return name_; }

private:
    enum class State { AwaitName, AwaitJoin, Seated, Closing, Ended };

    void readBlock();
    void onBlock();
    void writeNext();
    void end(const std::string& why);

    asio::ip::tcp::socket socket_;
    asio::steady_timer nameTimer_;
    Lobby& lobby_;
    std::function<void()> onEnded_;
    std::string peer_;
    State state_ = State::AwaitName;
    std::string name_;
    bool warnedBeforeJoin_ = false;
    std::shared_ptr<Table> table_;
    Block incoming_{};
    std::deque<Block> outgoing_;
};

}  // namespace lerva
