#pragma once

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace testsupport {

// The local SMTP server of smtp_test_server.py, started for one test and stopped with it.
// Accepted messages land in its own temp folder.
class SmtpTestServer {
 public:
  static constexpr const char* kLogin = "feedback@example.com";
  static constexpr const char* kPassword = "s3cret-Pass";

  // An aiosmtpd server requiring AUTH LOGIN with kLogin and kPassword, or with `silent` a
  // socket that accepts connections and never answers.
  explicit SmtpTestServer(bool silent = false) {
    std::vector<std::string> args = {"/usr/bin/python3", LRC_SMTP_TEST_SERVER};
    if (silent) {
      args.push_back("--silent");
    } else {
      args.insert(args.end(), {"--capture", m_captures.path().string(), "--login", kLogin,
                               "--password", kPassword});
    }
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) {
      ADD_FAILURE() << "no pipe for the SMTP test server";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int spawned = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
      m_pid = 0;
      ::close(out[0]);
      ADD_FAILURE() << "could not start /usr/bin/python3 " << LRC_SMTP_TEST_SERVER;
      return;
    }
    m_port = readPort(out[0]);
    ::close(out[0]);
    if (m_port == 0) ADD_FAILURE() << "the SMTP test server did not report its port within 15 s";
  }

  ~SmtpTestServer() {
    if (m_pid > 0) {
      ::kill(m_pid, SIGTERM);
      ::waitpid(m_pid, nullptr, 0);
    }
  }
  SmtpTestServer(const SmtpTestServer&) = delete;
  SmtpTestServer& operator=(const SmtpTestServer&) = delete;

  int port() const { return m_port; }

  // File `part` ("eml", "subject", "body", "envelope") of accepted message `number` (from 1);
  // empty when there is no such message.
  std::string captured(int number, const char* part) const {
    std::ifstream in(m_captures.path() / (std::to_string(number) + "." + part), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // How many messages the server accepted.
  int messageCount() const {
    int count = 0;
    while (!captured(count + 1, "envelope").empty()) ++count;
    return count;
  }

  // A local port on which nothing listens (taken from the system, then freed).
  static int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
  }

 private:
  // Reads "PORT <n>\n" from the server's output, waiting at most 15 s for it.
  static int readPort(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string line;
    while (line.find('\n') == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return 0;
      pollfd ready{fd, POLLIN, 0};
      if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0) return 0;
      char buffer[64];
      const ssize_t count = ::read(fd, buffer, sizeof buffer);
      if (count <= 0) return 0;
      line.append(buffer, static_cast<std::size_t>(count));
    }
    if (line.rfind("PORT ", 0) != 0) return 0;
    return std::stoi(line.substr(5));
  }

  TempDir m_captures;
  pid_t m_pid = 0;
  int m_port = 0;
};

}  // namespace testsupport
