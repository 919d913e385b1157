// One connection to the web port: answers GETs from the route table and
// hands an upgrade to /play, from an allowed page, to a WebPlayer. A request
// that is too large, too slow or not a GET ends the connection.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "beast.h"
#include "connections.h"
#include "web_context.h"

namespace lerva {

class HttpSession : public std::enable_shared_from_this<HttpSession> {
public:
    HttpSession(asio::ip::tcp::socket socket, const WebContext& context, std::shared_ptr<Connections::Ticket> ticket);

    void start();
    void close();

    static constexpr std::size_t kMaxHeaderBytes = 8 * 1024;
    static constexpr int kMaxRequestsPerConnection = 200;

private:
    using Request = http::request<http::empty_body>;

    void readRequest();
    void onRequest(const beast::error_code& error);
    void answer(const Request& request);
    void upgrade(Request request);
    void send(http::response<http::string_body> response);

    beast::tcp_stream stream_;
    const WebContext& context_;
    std::shared_ptr<Connections::Ticket> ticket_;
    std::string peer_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::empty_body>> parser_;
    int requests_ = 0;
    bool upgraded_ = false;
};

// The headers every reply of the web port carries: its type, no caching of
// a page that changes with the server, and a policy that lets the page load
// nothing and talk to nobody but this server.
void addCommonHeaders(http::response<http::string_body>& response, std::string_view contentType);

}  // namespace lerva
