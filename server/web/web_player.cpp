#include "web_player.h"

#include <algorithm>
#include <cstring>

#include "lobby.h"
#include "log.h"
#include "table.h"

namespace lerva {

namespace {
// As on TCP: blocks piling up beyond this mean the browser reads nothing.
constexpr std::size_t kMaxQueuedBlocks = 256;
constexpr auto kHandshakeTimeout = std::chrono::seconds(10);
}  // namespace

WebPlayer::WebPlayer(beast::tcp_stream stream, Lobby& lobby, Millis nameTimeout,
                     std::shared_ptr<Connections::Ticket> ticket, std::string peer)
    : ws_(std::move(stream)), nameTimer_(ws_.get_executor()), lobby_(lobby), ticket_(std::move(ticket)),
      peer_(std::move(peer)) {
    error_code error;
    const auto remote = beast::get_lowest_layer(ws_).socket().remote_endpoint(error);
    address_ = error ? std::string("?") : addressKey(remote.address());
    nameTimer_.expires_after(nameTimeout);
}

void WebPlayer::start(http::request<http::empty_body> request) {
    ticket_->onShutdown([weak = weak_from_this()] {
        if (auto self = weak.lock()) self->close();
    });
    ticket_->onLetGo([weak = weak_from_this()] {
        if (auto self = weak.lock())
            self->closeWith(websocket::close_code::try_again_later, "silent too long; its slot went to a newcomer");
    });
    websocket::stream_base::timeout timeouts{};
    timeouts.handshake_timeout = kHandshakeTimeout;
    timeouts.idle_timeout = kIdleTimeout;
    timeouts.keep_alive_pings = true;   // a ping at half the idle time
    ws_.set_option(timeouts);
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type& response) { response.set(http::field::server, "lerva-server"); }));
    ws_.read_message_max(kBlockSize);   // a longer message is refused with "too big"
    ws_.binary(true);
    ws_.auto_fragment(false);
    nameTimer_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && (self->state_ == State::Handshake || self->state_ == State::AwaitJoin))
            self->closeWith(websocket::close_code::policy_error, "sent no name and join in time");
    });
    logDebug("web connection from ", peer_);
    ws_.async_accept(request, [self = shared_from_this()](beast::error_code error) {
        if (self->state_ == State::Ended) return;
        if (error) {
            self->end("WebSocket handshake failed: " + error.message());
            return;
        }
        self->state_ = State::AwaitJoin;
        self->readNext();
    });
}

void WebPlayer::readNext() {
    ws_.async_read(incoming_, [self = shared_from_this()](beast::error_code error, std::size_t) {
        if (self->state_ == State::Ended) return;
        if (error == websocket::error::closed) return self->end("closed the connection");
        if (error == websocket::error::message_too_big) return self->end("sent a message longer than a block");
        if (error) return self->end("connection lost: " + error.message());
        self->ticket_->heard();
        self->onMessage();
        if (self->state_ == State::AwaitJoin || self->state_ == State::Seated) self->readNext();
    });
}

void WebPlayer::onMessage() {
    if (!ws_.got_binary()) {
        incoming_.clear();
        return closeWith(websocket::close_code::unknown_data, "sent a text message; blocks are binary");
    }
    if (incoming_.size() != kBlockSize) {
        incoming_.clear();
        return closeWith(websocket::close_code::policy_error, "sent a message shorter than a block");
    }
    Block block;
    const auto bytes = incoming_.cdata();
    std::memcpy(block.data(), bytes.data(), kBlockSize);
    incoming_.clear();
    onBlock(block);
}

void WebPlayer::onBlock(const Block& block) {
    if (state_ == State::Seated) {
        if (table_) table_->onBlock(this, block);
        return;
    }
    if (state_ != State::AwaitJoin || !arrival_.take(block, peer_, address_)) return;
    nameTimer_.cancel();
    state_ = State::Seated;
    ticket_->joined();
    table_ = lobby_.join(shared_from_this());
}

void WebPlayer::deliver(const Block& block) {
    if (state_ == State::Ended || state_ == State::Closing) return;
    if (outgoing_.size() >= kMaxQueuedBlocks) {
        end("reads nothing; too many blocks queued");
        return;
    }
    outgoing_.push_back(block);
}

void WebPlayer::writeNext() {
    if (state_ == State::Ended || writing_) return;
    if (outgoing_.empty()) {
        if (state_ == State::Closing) closeWith(websocket::close_code::normal, "game over");
        return;
    }
    writing_ = true;
    ws_.async_write(asio::buffer(outgoing_.front()), [self = shared_from_this()](beast::error_code error, std::size_t) {
        self->writing_ = false;
        if (self->state_ == State::Ended) return;
        if (error) return self->end("write failed: " + error.message());
        self->outgoing_.pop_front();
        self->writeNext();
    });
}

void WebPlayer::close() {
    if (state_ == State::Ended || state_ == State::Closing) return;
    if (state_ == State::Handshake) return end("closed by the server");
    table_.reset();   // the table let us go; do not call back into it
    state_ = State::Closing;
    writeNext();
}

void WebPlayer::closeWith(websocket::close_code code, const std::string& why) {
    if (state_ == State::Ended) return;
    if (state_ == State::Handshake) return end(why);
    // Leaves the table at once; the close handshake only tells the browser why.
    const auto self = shared_from_this();
    end(why, false);
    ws_.async_close(websocket::close_reason(code), [self](beast::error_code) {
        error_code ignored;
        beast::get_lowest_layer(self->ws_).socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    });
}

void WebPlayer::end(const std::string& why, bool shutSocket) {
    if (state_ == State::Ended) return;
    state_ = State::Ended;
    logInfo(peer_, name().empty() ? "" : " (" + name() + ")", " [web]: ", why);
    nameTimer_.cancel();
    // As on TCP, the socket closes with the player, once its operations are back.
    error_code ignored;
    if (shutSocket) beast::get_lowest_layer(ws_).socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    if (auto table = std::move(table_)) table->onLeave(this);
}

}  // namespace lerva
