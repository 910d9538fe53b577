// DES over 1 MB and 100,000 request tokens, beside OpenSSL's DES-ECB on the same bytes.
#include "link/RequestToken.h"
#include "link/des.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

namespace {

const QByteArray &megabyte()
{
    static const QByteArray bytes = [] {
        QByteArray b(1 << 20, Qt::Uninitialized);
        for (qsizetype i = 0; i < b.size(); ++i)
            b[i] = static_cast<char>((i * 131 + 7) & 0xFF);
        return b;
    }();
    return bytes;
}

void BM_DesEncipher1MB(benchmark::State &state)
{
    des cipher;
    cipher.SetKey("tupnerak");
    QByteArray out;
    for (auto _ : state) {
        int half = 1;
        cipher.EncryptDes_ArrToArr(megabyte(), out, half, 1);
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * megabyte().size());
}

void BM_OpenSslDesEcb1MB(benchmark::State &state)
{
    static OSSL_PROVIDER *legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    static OSSL_PROVIDER *defaults = OSSL_PROVIDER_load(nullptr, "default");
    EVP_CIPHER *cipher = legacy && defaults ? EVP_CIPHER_fetch(nullptr, "DES-ECB", "provider=legacy") : nullptr;
    if (!cipher) {
        state.SkipWithError("OpenSSL's legacy provider (DES) is not available");
        return;
    }
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    QByteArray out(megabyte().size() + 8, Qt::Uninitialized);
    for (auto _ : state) {
        int len = 0;
        EVP_EncryptInit_ex2(ctx, cipher, reinterpret_cast<const unsigned char *>("tupnerak"), nullptr, nullptr);
        EVP_CIPHER_CTX_set_padding(ctx, 0);
        EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char *>(out.data()), &len,
                          reinterpret_cast<const unsigned char *>(megabyte().constData()), static_cast<int>(megabyte().size()));
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(state.iterations() * megabyte().size());
    EVP_CIPHER_CTX_free(ctx);
    EVP_CIPHER_free(cipher);
}

void BM_Tokens100k(benchmark::State &state)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (auto _ : state) {
        for (int i = 0; i < 100000; ++i)
            benchmark::DoNotOptimize(requestTokenAt(QString(), QStringLiteral("admin"), QStringLiteral("8F2C41D09A"), now));
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}

BENCHMARK(BM_DesEncipher1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSslDesEcb1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tokens100k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
