#include "tests/unit/crypto/openssl_des.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <memory>
#include <stdexcept>

namespace reference {
namespace {

// Single DES lives in the legacy provider since OpenSSL 3.
class Providers {
 public:
  Providers() : legacy_(OSSL_PROVIDER_load(nullptr, "legacy")), default_(OSSL_PROVIDER_load(nullptr, "default")) {
    if (legacy_ == nullptr || default_ == nullptr) throw std::runtime_error("OpenSSL legacy provider not available");
  }
  ~Providers() {
    if (default_ != nullptr) OSSL_PROVIDER_unload(default_);
    if (legacy_ != nullptr) OSSL_PROVIDER_unload(legacy_);
  }
  Providers(const Providers&) = delete;
  Providers& operator=(const Providers&) = delete;

 private:
  OSSL_PROVIDER* legacy_;
  OSSL_PROVIDER* default_;
};

void LoadProviders() { static const Providers providers; }

std::string DesEcb(const crypto::KeyBlock& key, std::string_view bytes, bool encrypt) {
  LoadProviders();
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  std::unique_ptr<EVP_CIPHER, decltype(&EVP_CIPHER_free)> cipher(EVP_CIPHER_fetch(nullptr, "DES-ECB", nullptr),
                                                                 EVP_CIPHER_free);
  if (!ctx || !cipher ||
      EVP_CipherInit_ex(ctx.get(), cipher.get(), nullptr, key.data(), nullptr, encrypt ? 1 : 0) != 1) {
    throw std::runtime_error("OpenSSL DES-ECB set-up failed");
  }
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  std::string out(bytes.size() + 8, '\0');
  int written = 0;
  int last = 0;
  auto* outBytes = reinterpret_cast<unsigned char*>(out.data());
  if (EVP_CipherUpdate(ctx.get(), outBytes, &written, reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<int>(bytes.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), outBytes + written, &last) != 1) {
    throw std::runtime_error("OpenSSL DES-ECB failed");
  }
  out.resize(static_cast<std::size_t>(written + last));
  return out;
}

}  // namespace

std::string DesEcbEncrypt(const crypto::KeyBlock& key, std::string_view bytes) { return DesEcb(key, bytes, true); }

std::string DesEcbDecrypt(const crypto::KeyBlock& key, std::string_view bytes) { return DesEcb(key, bytes, false); }

crypto::Block EncryptBlock(const crypto::KeyBlock& key, const crypto::Block& block) {
  const std::string out = DesEcbEncrypt(key, std::string_view(reinterpret_cast<const char*>(block.data()), 8));
  crypto::Block result;
  for (std::size_t i = 0; i < 8; ++i) result[i] = static_cast<std::uint8_t>(out[i]);
  return result;
}

std::string Hex(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0xf];
  }
  return hex;
}

std::string Unhex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

}  // namespace reference
