#pragma once
// A judge's phone for tests and figures: judgeserve started as a child on an
// event folder, and plain HTTP requests to it on 127.0.0.1 with a time limit.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace judge_client {

struct Reply {
  int status = 0;  // 0: no answer within the time limit
  std::string body;
};

// One request on its own connection; gives up after two seconds.
inline Reply request(int port, const std::string& method, const std::string& path, const std::string& body = {},
                     const std::string& type = "application/x-www-form-urlencoded") {
  Reply reply;
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return reply;
  timeval limit{2, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return reply;
  }
  std::string text = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
  if (method == "POST") text += "Content-Type: " + type + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
  text += "\r\n" + body;
  if (::send(fd, text.data(), text.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(text.size())) {
    ::close(fd);
    return reply;
  }
  std::string answer;
  char buffer[4096];
  for (ssize_t got; (got = ::recv(fd, buffer, sizeof buffer, 0)) > 0;) {
    answer.append(buffer, static_cast<std::size_t>(got));
    // The server may keep the connection; stop once the whole body is in.
    std::size_t head = answer.find("\r\n\r\n");
    std::size_t length = answer.find("Content-Length: ");
    if (head != std::string::npos && length != std::string::npos && length < head &&
        answer.size() >= head + 4 + std::stoul(answer.substr(length + 16)))
      break;
  }
  ::close(fd);
  if (answer.rfind("HTTP/1.1 ", 0) == 0) reply.status = std::atoi(answer.c_str() + 9);
  if (std::size_t head = answer.find("\r\n\r\n"); head != std::string::npos) reply.body = answer.substr(head + 4);
  return reply;
}

// judgeserve on an event folder: its port and the judges' tokens by name (UTF-8).
class Server {
 public:
  // Returns once judgeserve printed its port and `judges` judge lines (or ended).
  Server(const std::string& judgeserve, const std::filesystem::path& eventDir, const std::filesystem::path& page,
         int judges) {
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::close(out[0]);
      ::execl(judgeserve.c_str(), judgeserve.c_str(), eventDir.c_str(), "--page", page.c_str(), nullptr);
      ::_exit(127);
    }
    ::close(out[1]);
    output_ = ::fdopen(out[0], "r");
    char line[512];
    while (output_ && std::fgets(line, sizeof line, output_)) {
      std::string text = line;
      if (!text.empty() && text.back() == '\n') text.pop_back();
      if (text.rfind("LISTENING ", 0) == 0) port_ = std::atoi(text.c_str() + 10);
      if (text.rfind("JUDGE ", 0) == 0) {
        std::size_t space = text.rfind(' ');
        tokens_[text.substr(6, space - 6)] = text.substr(text.rfind('/') + 1);
      }
      if (port_ != 0 && static_cast<int>(tokens_.size()) == judges) break;
    }
  }
  ~Server() { stop(); }
  // Stops it by SIGTERM and returns its exit status (-1 when it did not exit by itself).
  int stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100; ++i) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        if (output_) std::fclose(output_);
        output_ = nullptr;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      ::usleep(20000);
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
    return -1;
  }
  int port() const { return port_; }
  pid_t pid() const { return pid_; }
  const std::map<std::string, std::string>& tokens() const { return tokens_; }

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
  int port_ = 0;
  std::map<std::string, std::string> tokens_;
};

}  // namespace judge_client
