// keyhaven-fill: fills a database made by keyhaven-newdb with made-up but realistic account
// records, added through the core as the program adds them, for measuring the program at scale.
#include <QFileInfo>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/connection.h"
#include "store/query.h"
#include "store/record_history.h"
#include "vault/vault.h"

namespace {

constexpr std::string_view kUsage = "usage: keyhaven-fill --records N [--seed S] PATH";

struct Options {
  long records = -1;
  std::uint64_t seed = 1;
  std::string path;
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--records" || argument == "--seed") {
      if (++i >= argc) return false;
      const bool parsed = argument == "--records" ? ParseNumber(argv[i], options.records) && options.records >= 0
                                                  : ParseNumber(argv[i], options.seed);
      if (!parsed) return false;
    } else if (argument.starts_with("-") || argument.empty() || !options.path.empty()) {
      return false;
    } else {
      options.path = argument;
    }
  }
  return options.records >= 0 && !options.path.empty();
}

// Fifty names of at least four characters, none equal to another ignoring case.
const std::vector<std::string> kCategories = {
    "网上银行账户",    "电子邮箱账户",   "社交网络账户",   "网络游戏账户",     "网上购物网站",  "视频网站会员",
    "音乐网站会员",    "论坛社区账户",   "云盘存储服务",   "办公系统账户",     "学习平台账户",  "政务服务平台",
    "手机运营商网",    "航空公司会员",   "酒店预订网站",   "火车票务账户",     "外卖点餐平台",  "打车出行平台",
    "证券交易账户",    "保险公司账户",   "信用卡管理网",   "路由器与设备",     "服务器主机",    "数据库账户",
    "域名注册服务",    "开发工具账户",   "博客写作平台",   "新闻资讯网站",     "Work Email",    "Personal Mail",
    "Online Banking",  "Shopping Sites", "Social Media",   "Gaming Accounts",  "Cloud Storage", "Developer Tools",
    "Streaming Video", "Music Services", "Travel Booking", "Utilities Bills",  "Home Network",  "VPN Services",
    "Web Hosting",     "Domain Names",   "Forums Boards",  "Company Intranet", "School Portal", "Health Insurance",
    "Crypto Wallets",  "Misc Accounts"};

const std::vector<std::string_view> kChineseWords = {
    "登录", "账户", "中心", "会员", "管理", "平台", "服务", "个人", "企业", "银行", "邮箱", "网站", "官方", "客户端",
    "安全", "设置", "密码", "找回", "问题", "答案", "手机", "号码", "绑定", "验证", "备用", "地址", "家庭", "公司",
    "工作", "学习", "购物", "旅行", "记录", "重要", "提醒", "每月", "续费", "到期", "日期", "联系", "客服", "电话"};

const std::vector<std::string_view> kEnglishWords = {
    "mail",  "bank",   "shop",   "cloud",  "game",  "music", "video", "forum",  "admin",  "portal", "secure",
    "login", "market", "travel", "hotel",  "drive", "photo", "news",  "office", "school", "health", "wallet",
    "home",  "router", "server", "backup", "cloud", "dev",   "code",  "store",  "ticket", "pay"};

const std::vector<std::string_view> kDomains = {".com", ".cn", ".net", ".org", ".com.cn", ".io"};

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : random_(seed) {}

  int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(uniform(0, static_cast<int>(items.size()) - 1))];
  }

  // A few categories hold most records, as in a real collection.
  const std::string& category() {
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    const auto index = static_cast<std::size_t>(u * u * static_cast<double>(kCategories.size()));
    return kCategories[index];
  }

  std::string words(const std::vector<std::string_view>& from, int count, std::string_view separator) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      if (i > 0) out += separator;
      out += pick(from);
    }
    return out;
  }

  std::string site() { return words(kEnglishWords, uniform(1, 2), "") + std::to_string(uniform(1, 999)); }

  std::string title() {
    if (chance(0.5)) return words(kChineseWords, uniform(2, 5), "");
    std::string name = site();
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    name += ' ';
    name += words(kEnglishWords, uniform(1, 3), " ");
    return name;
  }

  // Built by appending: GCC 12 warns falsely about "literal" + std::string temporaries.
  std::string address() {
    std::string out;
    if (chance(0.1)) return out;
    out += chance(0.7) ? "https://" : "http://";
    if (chance(0.5)) out += "www.";
    out += site();
    out += pick(kDomains);
    if (chance(0.5)) {
      out += '/';
      out += words(kEnglishWords, uniform(1, 3), "/");
    }
    return out;
  }

  std::string account() {
    std::string out;
    switch (uniform(0, 3)) {
      case 0:
        out += words(kEnglishWords, 1, "");
        out += std::to_string(uniform(1, 99999));
        out += '@';
        out += site();
        out += pick(kDomains);
        break;
      case 1:
        out += '1';
        out += std::to_string(uniform(30, 89));
        out += std::to_string(uniform(10000000, 99999999));
        break;
      case 2:
        out += words(kChineseWords, uniform(1, 2), "");
        out += std::to_string(uniform(1, 9999));
        break;
      default:
        out += words(kEnglishWords, uniform(1, 2), "_");
        out += std::to_string(uniform(1, 9999));
        break;
    }
    return out;
  }

  std::string password() {
    static constexpr std::string_view kCharacters =
        "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!@#$%^&*-_=+?";
    std::string out;
    const int length = uniform(8, 24);
    for (int i = 0; i < length; ++i)
      out += kCharacters[static_cast<std::size_t>(uniform(0, static_cast<int>(kCharacters.size()) - 1))];
    return out;
  }

  std::string note() {
    if (chance(0.4)) return {};
    std::string out;
    const int lines = uniform(1, 4);
    for (int i = 0; i < lines; ++i) {
      if (i > 0) out += "\n";
      const bool chinese = chance(0.6);
      out += chinese ? words(kChineseWords, uniform(3, 12), "") : words(kEnglishWords, uniform(3, 10), " ");
      out += chinese ? "：" : " ";
      out += std::to_string(uniform(1, chinese ? 99999 : 9999));
    }
    return out;
  }

  // Most records are seldom picked, a few very often.
  int uses() {
    if (chance(0.5)) return 0;
    return static_cast<int>(std::exponential_distribution<double>(0.05)(random_));
  }

 private:
  std::mt19937_64 random_;
};

// The records' usage counts, which no operation of the program sets at once, in one transaction.
void SetUses(const std::string& folder, const std::string& fileName, const std::vector<int>& uses) {
  if (uses.empty()) return;
  store::Connection connection;
  connection.setConnectionString(store::BuildConnectionString(folder, fileName));
  store::Query query(connection);
  const auto run = [&query](const std::string& statement) {
    query.clearSql();
    query.addSql(statement);
    query.execSql();
  };
  query.addSql("select max(编号) as 编号 from data");
  query.open();
  // The new records were numbered one after the other and are the newest.
  const long long first = std::stoll(query.field(0)) - static_cast<long long>(uses.size()) + 1;
  store::WriteTransaction write(connection.handle());
  for (std::size_t i = 0; i < uses.size(); ++i) {
    if (uses[i] == 0) continue;
    run("update data set 统计=" + std::to_string(uses[i]) +
        " where 编号=" + std::to_string(first + static_cast<long long>(i)));
  }
  write.commit();
}

// The records go in as the program adds them: under the file's database key, drawn and stored first
// when the file has none, in one transaction.
void Fill(const Options& options) {
  const QFileInfo file(QString::fromStdString(options.path));
  QString folder = file.absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  vault::Vault vault;
  vault.open(folder, crypto::kFileKeyParameters, file.fileName());
  vault.loadDatabaseKey();
  Generator generate(options.seed);
  std::vector<int> uses(static_cast<std::size_t>(options.records));
  const auto text = [](const std::string& value) { return QString::fromStdString(value); };
  vault.addRecords(
      uses.size(),
      [&](std::size_t i) {
        // One value after the other, in the order that earlier fills drew them, so a seed makes the same records.
        vault::Record record;
        record.category = text(generate.category());
        record.title = text(generate.title());
        record.address = text(generate.address());
        record.account = text(generate.account());
        record.password = text(generate.password());
        record.note = text(generate.note());
        uses[i] = generate.uses();
        return record;
      },
      [](int) { return true; });
  vault.close();
  SetUses(folder.toStdString(), file.fileName().toStdString(), uses);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    Fill(options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << "keyhaven-fill: " << options.records << " records in " << options.path << " (" << took.count()
              << " s)\n";
  } catch (const std::exception& error) {
    std::cerr << "keyhaven-fill: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
