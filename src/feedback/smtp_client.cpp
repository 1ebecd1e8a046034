#include "feedback/smtp_client.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

namespace feedback {

namespace {

// A server that has not answered the connection by then will not answer it at all.
constexpr std::chrono::milliseconds kMaxConnectTime{10000};
// The longest wait between two looks at the cancel flag if nothing wakes the poll.
constexpr int kPollMilliseconds = 1000;

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct MultiDeleter {
  void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using MultiHandle = std::unique_ptr<CURLM, MultiDeleter>;
using StringList = std::unique_ptr<curl_slist, ListDeleter>;

// Keeps an easy handle in a multi handle for its lifetime; declared after both handles, so it
// detaches before either is cleaned up.
class Attachment {
 public:
  Attachment(CURLM* multi, CURL* easy) : m_multi(multi), m_easy(easy) {
    m_attached = curl_multi_add_handle(multi, easy) == CURLM_OK;
  }
  ~Attachment() {
    if (m_attached) curl_multi_remove_handle(m_multi, m_easy);
  }
  Attachment(const Attachment&) = delete;
  Attachment& operator=(const Attachment&) = delete;
  bool attached() const { return m_attached; }

 private:
  CURLM* m_multi;
  CURL* m_easy;
  bool m_attached = false;
};

// Hands the message to libcurl piece by piece. libcurl itself doubles a leading dot of a line
// and ends the data with CR LF "." CR LF.
struct Upload {
  std::string_view rest;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  const std::size_t take = std::min(size * count, upload->rest.size());
  std::memcpy(buffer, upload->rest.data(), take);
  upload->rest.remove_prefix(take);
  return take;
}

std::string describe(CURLcode code, const char* details, long responseCode) {
  std::string text = details[0] ? details : curl_easy_strerror(code);
  if (responseCode > 0) text += " (last SMTP reply " + std::to_string(responseCode) + ")";
  return text;
}

}  // namespace

// libcurl's socket callbacks, which keep SmtpClient::m_sockets.
struct SmtpClientCallbacks {
  static curl_socket_t open(void* user, curlsocktype, curl_sockaddr* address) {
    auto* client = static_cast<SmtpClient*>(user);
    std::lock_guard lock(client->m_mutex);
    if (client->m_cancelled) return CURL_SOCKET_BAD;
    const curl_socket_t socket =
        ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
    if (socket != CURL_SOCKET_BAD) client->m_sockets.insert(socket);
    return socket;
  }

  static int close(void* user, curl_socket_t socket) {
    auto* client = static_cast<SmtpClient*>(user);
    std::lock_guard lock(client->m_mutex);
    client->m_sockets.erase(socket);
    return ::close(socket);
  }
};

SmtpClient::SmtpClient() {
  // Global set-up is not safe to race with other threads' first use; do it here, on the
  // thread that builds the client, before any send runs on a worker.
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)initialised;
}

bool SmtpClient::cancelled() {
  std::lock_guard lock(m_mutex);
  return m_cancelled;
}

void SmtpClient::cancel() {
  std::lock_guard lock(m_mutex);
  m_cancelled = true;
  for (const curl_socket_t socket : m_sockets) ::shutdown(socket, SHUT_RDWR);
  if (m_running) curl_multi_wakeup(m_running);
}

platform::SendResult SmtpClient::send(const SmtpSettings& settings, const std::string& message,
                                      std::chrono::milliseconds timeout) {
  // Everything the handles point to is declared before them, so it outlives them.
  const std::string url = "smtp://" + settings.host + ":" + std::to_string(settings.port);
  const std::string address = "<" + settings.mailbox + ">";
  StringList recipients(curl_slist_append(nullptr, address.c_str()));
  Upload upload{message};
  char details[CURL_ERROR_SIZE] = {};
  EasyHandle easy(curl_easy_init());
  MultiHandle multi(curl_multi_init());
  if (!easy || !multi || !recipients) return {false, "libcurl could not be initialised"};

  CURL* h = easy.get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp");
  curl_easy_setopt(
      h, CURLOPT_USE_SSL,
      static_cast<long>(settings.tls == TlsMode::Off ? CURLUSESSL_NONE : CURLUSESSL_TRY));
  curl_easy_setopt(h, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
  curl_easy_setopt(h, CURLOPT_USERNAME, settings.mailbox.c_str());
  curl_easy_setopt(h, CURLOPT_PASSWORD, settings.password.c_str());
  curl_easy_setopt(h, CURLOPT_MAIL_FROM, address.c_str());
  curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
  curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(h, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  curl_easy_setopt(h, CURLOPT_READFUNCTION, readUpload);
  curl_easy_setopt(h, CURLOPT_READDATA, &upload);
  // The whole exchange is bounded, and so is every single reply, QUIT's included, which
  // libcurl waits for outside the transfer's own time limit.
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout.count()));
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(std::min(timeout, kMaxConnectTime).count()));
  curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                   static_cast<long>((timeout.count() + 999) / 1000));
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, details);
  curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, SmtpClientCallbacks::open);
  curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, this);
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, SmtpClientCallbacks::close);
  curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, this);

  Attachment attachment(multi.get(), h);
  if (!attachment.attached()) return {false, "libcurl could not start the transfer"};
  {
    std::lock_guard lock(m_mutex);
    if (m_cancelled) return {false, "cancelled"};
    m_running = multi.get();
  }
  // Gone before the multi handle is cleaned up, so cancel() never wakes a freed handle.
  struct Unregister {
    SmtpClient* client;
    ~Unregister() {
      std::lock_guard lock(client->m_mutex);
      client->m_running = nullptr;
    }
  } unregister{this};

  int running = 1;
  while (true) {
    const CURLMcode performed = curl_multi_perform(multi.get(), &running);
    if (performed != CURLM_OK) return {false, curl_multi_strerror(performed)};
    if (running == 0) break;
    const CURLMcode polled = curl_multi_poll(multi.get(), nullptr, 0, kPollMilliseconds, nullptr);
    if (polled != CURLM_OK) return {false, curl_multi_strerror(polled)};
    if (cancelled()) return {false, "cancelled"};
  }

  CURLcode result = CURLE_FAILED_INIT;
  int queued = 0;
  while (CURLMsg* done = curl_multi_info_read(multi.get(), &queued)) {
    if (done->msg == CURLMSG_DONE && done->easy_handle == h) result = done->data.result;
  }
  if (result == CURLE_OK) return {true, {}};
  long responseCode = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &responseCode);
  return {false, describe(result, details, responseCode)};
}

}  // namespace feedback
