"""HTTPS for the end-to-end tests: a private test CA, server certificates made
from it, a Wine prefix that trusts that CA, and TLS for a test server.

How Wine 8.0 decides that a server certificate is good (crypt32, wininet):
- WinInet builds the chain with CertGetCertificateChain on the default
  (current user) chain engine, then checks the host name with
  CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL).
- That engine's roots are the system store "Root" for the current user, which
  crypt32 opens as HKCU\\Software\\Microsoft\\SystemCertificates\\Root plus the
  same key under HKLM. Each subkey of ...\\Root\\Certificates is named by the
  SHA-1 thumbprint (upper-case hex) and holds a REG_BINARY "Blob": serialized
  properties, here just property 32 (the certificate): id, 1, length, DER.
  An entry whose name is not the thumbprint of its certificate is ignored.
- The first time a process opens HKLM's Root, crypt32 adds the host's roots
  (/etc/ssl/certs) and Microsoft's there as volatile keys; in 8.0 it deletes
  nothing. Newer Wine keeps them persistent instead and deletes every HKLM
  entry that is not a host or Microsoft root, so a CA put under HKLM would
  vanish there. HKCU is never touched by that: the CA goes under HKCU, in the
  test prefix only, never in the host's store.
- A process reads the roots when it first checks a chain and keeps them: a
  program started after trust_ca trusts the CA (no wineserver restart), one
  already running does not.

What WinInet then reports (GetLastError after HttpSendRequest), Wine 8.0:
  issuer unknown (CA not trusted)   12057 ERROR_INTERNET_SEC_CERT_REV_FAILED
  self-signed                       12045 ERROR_INTERNET_INVALID_CA
  expired                           12037 ERROR_INTERNET_SEC_CERT_DATE_INVALID
  certificate for another host name 12038 ERROR_INTERNET_SEC_CERT_CN_INVALID
Connect to "localhost", not 127.0.0.1: the name check does not match IP
addresses in subjectAltName.
"""
import hashlib
import os
import ssl
import struct
import subprocess
from pathlib import Path

# Server certificates make_certs() writes: name -> (host name, signed by the CA).
SERVER_CERTS = {
    "valid": ("localhost", True),
    "selfsigned": ("localhost", False),
    "expired": ("localhost", True),
    "wronghost": ("wrong.example", True),
}

ROOTS = r"HKCU\Software\Microsoft\SystemCertificates\Root\Certificates"

_CONFIG = """\
[req]
distinguished_name = dn
prompt = no
[dn]
CN = $ENV::TLS_CN
[ca_ext]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[server_ext]
basicConstraints = CA:false
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:$ENV::TLS_CN
subjectKeyIdentifier = hash
[ca]
default_ca = test_ca
[test_ca]
database = ca-db/index.txt
new_certs_dir = ca-db
rand_serial = yes
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
"""


def _openssl(folder, cn, *args):
    env = dict(os.environ, TLS_CN=cn)
    subprocess.run(["openssl", *args, "-config", "openssl.cnf"], cwd=folder, env=env,
                   check=True, capture_output=True, timeout=60)


def make_certs(folder):
    """Makes in `folder` the test CA (ca.pem, ca.key) and, for each name of
    SERVER_CERTS, NAME.pem and NAME.key; files already there are kept (all
    are made again when the CA is new). Returns the folder as a Path."""
    folder = Path(folder)
    (folder / "ca-db").mkdir(parents=True, exist_ok=True)
    (folder / "ca-db" / "index.txt").touch()
    (folder / "openssl.cnf").write_text(_CONFIG)
    new_ca = not ((folder / "ca.pem").exists() and (folder / "ca.key").exists())
    if new_ca:
        _openssl(folder, "Kavrelo Test CA", "req", "-x509", "-newkey", "rsa:2048", "-nodes",
                 "-keyout", "ca.key", "-out", "ca.pem", "-days", "3650", "-extensions", "ca_ext")
    for name, (host, by_ca) in SERVER_CERTS.items():
        if not new_ca and (folder / f"{name}.pem").exists() and (folder / f"{name}.key").exists():
            continue
        if not by_ca:
            _openssl(folder, host, "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{name}.key",
                     "-out", f"{name}.pem", "-days", "825", "-extensions", "server_ext")
            continue
        _openssl(folder, host, "req", "-new", "-newkey", "rsa:2048", "-nodes", "-keyout", f"{name}.key",
                 "-out", f"{name}.csr")
        dates = (["-startdate", "200101000000Z", "-enddate", "200201000000Z"] if name == "expired"
                 else ["-days", "825"])
        _openssl(folder, host, "ca", "-batch", "-notext", "-in", f"{name}.csr", "-out", f"{name}.pem",
                 "-cert", "ca.pem", "-keyfile", "ca.key", "-extensions", "server_ext", *dates)
        (folder / f"{name}.csr").unlink()
    return folder


def _root_entry(ca_pem):
    der = ssl.PEM_cert_to_DER_cert(Path(ca_pem).read_text())
    return ROOTS + "\\" + hashlib.sha1(der).hexdigest().upper(), der


def trust_ca(wine, ca_pem):
    """Makes the Wine prefix trust the CA in `ca_pem` for TLS; programs started
    afterwards see it. `wine(*args)` runs a Windows program in that prefix and
    returns its subprocess.CompletedProcess (harness.Env.wine does). Doing it
    again changes nothing."""
    key, der = _root_entry(ca_pem)
    blob = struct.pack("<III", 32, 1, len(der)) + der
    r = wine("reg", "add", key, "/v", "Blob", "/t", "REG_BINARY", "/d", blob.hex(), "/f")
    if r.returncode != 0:
        raise RuntimeError(f"reg add {key} failed: {r.stdout}{r.stderr}")


def untrust_ca(wine, ca_pem):
    """Undoes trust_ca; nothing happens when the CA was not trusted."""
    key, _ = _root_entry(ca_pem)
    wine("reg", "delete", key, "/f")


def server_context(folder, name):
    """A server-side SSLContext with the NAME.pem/NAME.key pair of `folder`."""
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.load_cert_chain(Path(folder) / f"{name}.pem", Path(folder) / f"{name}.key")
    return ctx


def serve_tls(httpd, folder, name):
    """Makes an http.server/socketserver instance (not yet serving) speak TLS
    with certificate `name`. The handshake runs in accept(); a client that
    rejects the certificate only costs that one connection."""
    httpd.socket = server_context(folder, name).wrap_socket(httpd.socket, server_side=True)
    return httpd
