#include "http_session.h"

#include <chrono>

#include "log.h"
#include "origin.h"
#include "web_player.h"

namespace lerva {

namespace {
// A request that takes longer than this to arrive is not a browser's.
constexpr auto kRequestTimeout = std::chrono::seconds(15);
constexpr std::string_view kPlayPath = "/play";
}  // namespace

void addCommonHeaders(http::response<http::string_body>& response, std::string_view contentType) {
    response.set(http::field::server, "lerva-server");
    response.set(http::field::content_type, contentType);
    response.set(http::field::cache_control, "no-cache");
    response.set("X-Content-Type-Options", "nosniff");
    response.set("Content-Security-Policy",
                 "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
                 "connect-src 'self'; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
    response.set("Referrer-Policy", "no-referrer");
}

HttpSession::HttpSession(asio::ip::tcp::socket socket, const WebContext& context,
                         std::shared_ptr<Connections::Ticket> ticket)
    : stream_(std::move(socket)), context_(context), ticket_(std::move(ticket)) {
    error_code error;
    const auto remote = stream_.socket().remote_endpoint(error);
    peer_ = error ? std::string("?") : remote.address().to_string() + ":" + std::to_string(remote.port());
}

void HttpSession::start() {
    ticket_->onShutdown([weak = weak_from_this()] {
        if (auto self = weak.lock()) self->close();
    });
    error_code ignored;
    stream_.socket().set_option(asio::ip::tcp::no_delay(true), ignored);
    readRequest();
}

void HttpSession::close() {
    if (upgraded_) return;
    error_code ignored;
    stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
}

void HttpSession::readRequest() {
    parser_.emplace();
    parser_->header_limit(kMaxHeaderBytes);
    parser_->body_limit(0);
    stream_.expires_after(kRequestTimeout);
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code error, std::size_t) { self->onRequest(error); });
}

void HttpSession::onRequest(const beast::error_code& error) {
    if (error) {
        if (error != http::error::end_of_stream && error != beast::error::timeout &&
            error != asio::error::operation_aborted)
            logDebug(peer_, ": web request refused: ", error.message());
        close();
        return;
    }
    Request request = parser_->release();
    if (websocket::is_upgrade(request)) {
        upgrade(std::move(request));
        return;
    }
    answer(request);
}

void HttpSession::answer(const Request& request) {
    Reply reply = request.method() == http::verb::get || request.method() == http::verb::head
                      ? context_.routes.answer(request.target())
                      : textReply(405, "only GET");
    http::response<http::string_body> response{static_cast<http::status>(reply.status), request.version()};
    addCommonHeaders(response, reply.contentType);
    if (reply.status == 405) response.set(http::field::allow, "GET, HEAD");
    const bool head = request.method() == http::verb::head;
    response.body() = head ? std::string() : std::move(reply.body);
    response.prepare_payload();
    if (head) response.content_length(reply.body.size());
    response.keep_alive(request.keep_alive() && ++requests_ < kMaxRequestsPerConnection);
    send(std::move(response));
}

void HttpSession::send(http::response<http::string_body> response) {
    auto message = std::make_shared<http::response<http::string_body>>(std::move(response));
    stream_.expires_after(kRequestTimeout);
    http::async_write(stream_, *message, [self = shared_from_this(), message](beast::error_code error, std::size_t) {
        if (error || !message->keep_alive()) {
            self->close();
            return;
        }
        self->readRequest();
    });
}

void HttpSession::upgrade(Request request) {
    const std::string_view target = request.target();
    const std::string_view path = target.substr(0, target.find('?'));
    const auto field = [&](http::field name) { return std::string_view(request[name]); };
    std::string refusal;
    int status = 0;
    if (path != kPlayPath) status = 404, refusal = "no such path";
    else if (!originAllowed(field(http::field::origin), field(http::field::host), context_.config.webOrigins))
        status = 403, refusal = "page of another origin: " + std::string(field(http::field::origin));
    else if (buffer_.size() != 0)
        // A client waits for the handshake's answer before it sends frames;
        // bytes sent before it would be lost in the upgrade.
        status = 400, refusal = "data sent before the handshake was answered";
    if (status) {
        logWarn(peer_, ": WebSocket refused (", refusal, ")");
        http::response<http::string_body> response{static_cast<http::status>(status), request.version()};
        addCommonHeaders(response, "text/plain; charset=utf-8");
        response.body() = refusal + "\n";
        response.prepare_payload();
        response.keep_alive(false);
        send(std::move(response));
        return;
    }
    upgraded_ = true;
    stream_.expires_never();   // the WebSocket keeps its own time
    auto player = std::make_shared<WebPlayer>(std::move(stream_), context_.lobby, context_.config.nameTimeout,
                                              std::move(ticket_), std::move(peer_));
    player->start(std::move(request));
}

}  // namespace lerva
