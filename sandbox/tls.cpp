// A private certificate authority and a server certificate for 127.0.0.1 / localhost,
// made once into the state folder. EC P-256 keys: generated in milliseconds.
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

struct Free {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(X509* p) const { X509_free(p); }
  void operator()(BIO* p) const { BIO_free(p); }
};
using Key = std::unique_ptr<EVP_PKEY, Free>;
using Cert = std::unique_ptr<X509, Free>;

Key make_key() { return Key(EVP_EC_gen("P-256")); }

bool add_ext(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext) return false;
  bool ok = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return ok;
}

Cert make_cert(EVP_PKEY* key, const char* cn, X509* issuer, EVP_PKEY* issuer_key, bool ca) {
  Cert cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  unsigned char serial[16];
  RAND_bytes(serial, sizeof serial);
  serial[0] &= 0x7F;
  BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
  BN_free(bn);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -24 * 3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 10L * 365 * 24 * 3600);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("Tavlo Sandbox"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(cn),
                             -1, -1, 0);
  X509* iss = issuer ? issuer : cert.get();
  X509_set_issuer_name(cert.get(), X509_get_subject_name(iss));
  bool ok = true;
  if (ca) {
    ok = ok && add_ext(cert.get(), iss, NID_basic_constraints, "critical,CA:TRUE");
    ok = ok && add_ext(cert.get(), iss, NID_key_usage, "critical,keyCertSign,cRLSign");
    ok = ok && add_ext(cert.get(), iss, NID_subject_key_identifier, "hash");
  } else {
    ok = ok && add_ext(cert.get(), iss, NID_basic_constraints, "critical,CA:FALSE");
    ok = ok && add_ext(cert.get(), iss, NID_key_usage, "critical,digitalSignature,keyEncipherment");
    ok = ok && add_ext(cert.get(), iss, NID_ext_key_usage, "serverAuth");
    ok = ok && add_ext(cert.get(), iss, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
    ok = ok && add_ext(cert.get(), iss, NID_authority_key_identifier, "keyid");
  }
  if (!ok || X509_sign(cert.get(), issuer_key ? issuer_key : key, EVP_sha256()) <= 0) return nullptr;
  return cert;
}

bool write_pem(const std::string& path, X509* cert, EVP_PKEY* key) {
  std::unique_ptr<BIO, Free> bio(BIO_new(BIO_s_mem()));
  if (cert && PEM_write_bio_X509(bio.get(), cert) != 1) return false;
  if (key && PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) != 1)
    return false;
  char* data = nullptr;
  long len = BIO_get_mem_data(bio.get(), &data);
  return write_file(path, std::string(data, static_cast<size_t>(len)), key ? 0600 : 0644);
}

Cert read_cert(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return nullptr;
  Cert c(PEM_read_X509(f, nullptr, nullptr, nullptr));
  std::fclose(f);
  return c;
}

Key read_key(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return nullptr;
  Key k(PEM_read_PrivateKey(f, nullptr, nullptr, nullptr));
  std::fclose(f);
  return k;
}

// The existing files are kept when the server certificate is signed by the CA, matches its
// key and is still valid for a while.
bool usable(const std::string& dir) {
  Cert ca = read_cert(dir + "/ca.pem");
  Cert srv = read_cert(dir + "/server.pem");
  Key key = read_key(dir + "/server.key");
  if (!ca || !srv || !key) return false;
  Key ca_pub(X509_get_pubkey(ca.get()));
  if (!ca_pub || X509_verify(srv.get(), ca_pub.get()) != 1) return false;
  if (X509_check_private_key(srv.get(), key.get()) != 1) return false;
  time_t soon = time(nullptr) + 7 * 24 * 3600;
  return X509_cmp_time(X509_get0_notAfter(srv.get()), &soon) > 0;
}

}  // namespace

bool ensure_certificates(const std::string& dir, std::string* error) {
  if (usable(dir)) return true;
  Key ca_key = make_key();
  Key srv_key = make_key();
  if (!ca_key || !srv_key) {
    *error = "cannot generate keys";
    return false;
  }
  Cert ca = make_cert(ca_key.get(), "Tavlo Sandbox CA", nullptr, nullptr, true);
  Cert srv = ca ? make_cert(srv_key.get(), "127.0.0.1", ca.get(), ca_key.get(), false) : nullptr;
  if (!ca || !srv) {
    *error = "cannot make certificates";
    return false;
  }
  if (!write_pem(dir + "/ca.key", nullptr, ca_key.get()) || !write_pem(dir + "/ca.pem", ca.get(), nullptr) ||
      !write_pem(dir + "/server.key", nullptr, srv_key.get()) ||
      !write_pem(dir + "/server.pem", srv.get(), nullptr)) {
    *error = "cannot write certificates into " + dir;
    return false;
  }
  return true;
}

}  // namespace tavlo::sandbox
