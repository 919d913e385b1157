#include "session.h"

#include <cstring>

#include "lobby.h"
#include "log.h"
#include "messages.h"
#include "table.h"

namespace lerva {

namespace {
// A client that does not read its blocks must not make the server hoard
// them. The kernel's socket buffers already hold far more than a game's
// worth for a slow reader; blocks piling up beyond those mean it is not
// reading at all.
constexpr std::size_t kMaxQueuedBlocks = 256;
constexpr int kSendBufferBytes = 16 * 1024;
}  // namespace

Session::Session(asio::ip::tcp::socket socket, Lobby& lobby, const ServerConfig& config)
    : socket_(std::move(socket)), deadline_(socket_.get_executor()), lobby_(lobby), config_(config) {
    error_code ec;
    const auto remote = socket_.remote_endpoint(ec);
    address_ = ec ? std::string("?") : addressKey(remote.address());
    peer_ = ec ? std::string("?") : remote.address().to_string() + ":" + std::to_string(remote.port());
}

Session::~Session() {
    if (onEnded_) onEnded_();
}

void Session::start(std::shared_ptr<Connections::Ticket> ticket) {
    ticket_ = std::move(ticket);
    error_code ec;
    // Small blocks, one at a time: Nagle's algorithm against a delayed
    // acknowledgement would hold each of them back.
    socket_.set_option(asio::ip::tcp::no_delay(true), ec);
    // A fixed send buffer, so that the kernel does not hold megabytes for a
    // client that reads nothing; this still holds hundreds of blocks.
    socket_.set_option(asio::socket_base::send_buffer_size(kSendBufferBytes), ec);
    logDebug("connection from ", peer_);
    deadline_.expires_after(config_.nameTimeout);
    deadline_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && (self->state_ == State::AwaitName || self->state_ == State::AwaitJoin))
            self->end("sent no name and join in time");
    });
    readMore();
}

void Session::readMore() {
    socket_.async_read_some(asio::buffer(incoming_.data() + incomingBytes_, incoming_.size() - incomingBytes_),
                            [self = shared_from_this()](error_code error, std::size_t count) {
                                if (self->state_ == State::Ended) return;
                                if (error) {
                                    self->end(error == asio::error::eof ? "closed the connection"
                                                                        : "connection lost: " + error.message());
                                    return;
                                }
                                if (self->ticket_) self->ticket_->heard();
                                self->onBytes(count);
                                if (self->state_ != State::Ended) self->readMore();
                            });
}

void Session::onBytes(std::size_t count) {
    incomingBytes_ += count;
    std::size_t used = 0;
    for (; incomingBytes_ - used >= kBlockSize && state_ != State::Ended; used += kBlockSize) {
        Block block;
        std::memcpy(block.data(), incoming_.data() + used, kBlockSize);
        onBlock(block);
    }
    std::memmove(incoming_.data(), incoming_.data() + used, incomingBytes_ - used);
    incomingBytes_ -= used;
}

void Session::onBlock(const Block& block) {
    switch (state_) {
    case State::AwaitName:
    case State::AwaitJoin:
        // The name time limit ends a connection that never joins.
        if (!arrival_.take(block, peer_, address_)) {
            state_ = State::AwaitJoin;
            break;
        }
        deadline_.cancel();
        state_ = State::Seated;
        if (ticket_) ticket_->joined();
        table_ = lobby_.join(shared_from_this());
        break;
    case State::Seated:
        if (table_) table_->onBlock(this, block);
        break;
    case State::Closing:
    case State::Ended:
        break;
    }
}

void Session::deliver(const Block& block) {
    if (state_ == State::Ended || state_ == State::Closing) return;
    if (queued_.size() + writing_.size() >= kMaxQueuedBlocks) {
        end("reads nothing; too many blocks queued");
        return;
    }
    queued_.push_back(block);
}

void Session::writeQueued() {
    if (state_ == State::Ended || queued_.empty() || !writing_.empty()) return;
    writing_.swap(queued_);
    asio::async_write(socket_, asio::buffer(writing_.data(), writing_.size() * kBlockSize),
                      [self = shared_from_this()](error_code error, std::size_t) {
                          if (self->state_ == State::Ended) return;
                          if (error) {
                              self->end("write failed: " + error.message());
                              return;
                          }
                          self->writing_.clear();   // keeps its capacity for the next turn
                          if (!self->queued_.empty()) self->writeQueued();
                          else if (self->state_ == State::Closing) self->end("game over");
                      });
}

void Session::close() {
    if (state_ == State::Ended || state_ == State::Closing) return;
    table_.reset();   // the table let us go; do not call back into it
    state_ = State::Closing;
    writeQueued();
    if (writing_.empty()) {
        end("closed by the server");
        return;
    }
    // A client that reads nothing would hold its connection for ever.
    deadline_.expires_after(config_.finalWriteDeadline);
    deadline_.async_wait([self = shared_from_this()](error_code error) {
        if (!error && self->state_ == State::Closing) self->end("did not read its last blocks in time");
    });
}

void Session::end(const std::string& why) {
    if (state_ == State::Ended) return;
    state_ = State::Ended;
    logInfo(peer_, name().empty() ? "" : " (" + name() + ")", ": ", why);
    deadline_.cancel();
    error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
#ifndef LERVA_IO_URING
    socket_.close(ignored);   // a pending write ends with operation_aborted
#else
    // The shutdown ends the pending read (end of stream) and write (broken
    // pipe) in the kernel; the socket closes with the session, once they
    // are back. Closed earlier, Asio would cancel operations the kernel may
    // still be carrying out into our buffers, or that are not yet submitted
    // and would then act on whatever connection is given the number next.
#endif
    if (auto table = std::move(table_)) table->onLeave(this);
}

}  // namespace lerva
