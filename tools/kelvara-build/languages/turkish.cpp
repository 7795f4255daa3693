// Turkish texts of the installer and the uninstaller.
#include "kelvara-build/languages/builtin_languages.h"

namespace kelvara::build {
namespace {

constexpr int kSetup = kTableSetupMessages;
constexpr int kError = kTableErrorMessages;
constexpr int kButton = kTableButtonLabels;
constexpr int kUn = kTableUninstaller;

constexpr BuiltinText kTexts[] = {
    {kPageLanguage, 0, "%ProductName% Kurulumu"},
    {kPageLanguage, 1, "Kurulum Dilini Seçin"},
    {kPageLanguage, 2, "Yükleme sırasında kullanılacak dili seçin."},
    {kPageLanguage, 3, "&Dil:"},

    {kPageWelcome, 0, "%ProductName% Kurulumu"},
    {kPageWelcome, 1, "%ProductName% Kurulumuna Hoş Geldiniz"},
    {kPageWelcome, 2, "Bu sihirbaz %ProductName% uygulamasını bilgisayarınıza yükleyecek."},
    {kPageWelcome, 3, "Birkaç kısa adımda size yol gösterecek."},
    {kPageWelcome, 4, "Devam etmeden önce diğer tüm programları kapatmanızı öneririz."},
    {kPageWelcome, 6, "Devam etmek için İleri'ye, Kurulumdan çıkmak için İptal'e tıklayın."},
    {kPageWelcome, 7, "Kuruluma Hoş Geldiniz"},

    {kPageLicense, 0, "%ProductName% Kurulumu"},
    {kPageLicense, 1, "Lisans Sözleşmesi"},
    {kPageLicense, 2, "Lütfen aşağıdaki lisans &sözleşmesini okuyun."},
    {kPageLicense, 3, "Bu lisans sözleşmesinin koşullarını kabul ediyor musunuz?"},

    {kPageReadme, 0, "%ProductName% Kurulumu"},
    {kPageReadme, 1, "Önemli Bilgiler"},
    {kPageReadme, 2, "Lütfen aşağıdaki önemli &bilgileri okuyun."},

    {kPageComponents, 0, "%ProductName% Kurulumu"},
    {kPageComponents, 1, "Bileşenleri Seçin"},
    {kPageComponents, 2, "%ProductName% uygulamasının hangi bileşenlerinin yükleneceğini seçin."},
    {kPageComponents, 3, "Kurulum &türü:"},
    {kPageComponents, 4, "&Bileşenler:"},
    {kPageComponents, 5, "Gereken alan:"},
    {kPageComponents, 6, "%DISK% sürücüsündeki boş alan:"},
    {kPageComponents, 9, "Açıklamasını görmek için bir bileşen seçin."},
    {kPageComponents, 14, "Açıklama"},

    {kPageScope, 0, "%ProductName% Kurulumu"},
    {kPageScope, 1, "Kullanıcıları Seçin"},
    {kPageScope, 2, "Kurulumun %ProductName% uygulamasını kimin için yükleyeceğini seçin."},
    {kPageScope, 3, "Bu bilgisayarın &tüm kullanıcıları için yükle"},
    {kPageScope, 4,
     "Bu bilgisayarı kullanan herkes programı kullanabilir. Kurulum bunun için yönetici hakları "
     "gerektirir."},
    {kPageScope, 5, "Yalnızca &benim için yükle"},
    {kPageScope, 6,
     "Programı yalnızca siz kullanabilirsiniz. Program kendi klasörlerinize yüklenir ve Kurulum "
     "yönetici hakları gerektirmez."},

    {kPageDestination, 0, "%ProductName% Kurulumu"},
    {kPageDestination, 1, "Yükleme Konumunu Seçin"},
    {kPageDestination, 2,
     "Kurulum, %ProductName% uygulamasını aşağıdaki klasöre yükleyecek. Farklı bir klasör "
     "kullanmak için klasörün yolunu yazın veya Gözat'a tıklayın."},
    {kPageDestination, 3, "&Hedef klasör"},
    {kPageDestination, 4, "Programın yükleneceği klasörü seçin:"},
    {kPageDestination, 5, "Gereken alan:"},
    {kPageDestination, 6, "%DISK% sürücüsündeki boş alan:"},

    {kPageTasks, 0, "%ProductName% Kurulumu"},
    {kPageTasks, 1, "Ek Görevler"},
    {kPageTasks, 2, "Kurulumun başka neler yapacağını seçin, sonra İleri'ye tıklayın."},
    {kPageTasks, 3, "Ek gö&revler:"},
    {kPageTasks, 9, "Açıklamasını görmek için bir görev seçin."},

    {kPageStartMenu, 0, "%ProductName% Kurulumu"},
    {kPageStartMenu, 1, "Başlat Menüsü Klasörünü Seçin"},
    {kPageStartMenu, 2,
     "Kurulum, &kısayolları aşağıdaki Başlat menüsü klasörüne ekleyecek. Yeni bir ad yazın veya "
     "var olan bir klasörü seçin."},
    {kPageStartMenu, 3, "&Başlat menüsü klasörü oluştur"},
    {kPageStartMenu, 4, "&Masaüstünde kısayollar oluştur"},
    {kPageStartMenu, 5, "&Hızlı Başlat çubuğunda kısayollar oluştur"},

    {kPageReady, 0, "%ProductName% Kurulumu"},
    {kPageReady, 1, "Yüklemeye Hazır"},
    {kPageReady, 2, "Kurulum, %ProductName% uygulamasını bilgisayarınıza yüklemeye hazır."},
    {kPageReady, 3,
     "Başlamak için Yükle'ye, ayarları gözden geçirmek veya değiştirmek için Geri'ye tıklayın."},

    {kPageInstalling, 0, "%ProductName% Kurulumu"},
    {kPageInstalling, 1, "%ProductName% Yükleniyor"},
    {kPageInstalling, 2,
     "Kurulum %ProductName% uygulamasını bilgisayarınıza yüklerken lütfen bekleyin."},
    {kPageInstalling, 3, "Yüklemeyi durdurmak için İptal'e tıklayın."},
    {kPageInstalling, 4, "Dosyalar kopyalanıyor..."},
    {kPageInstalling, 5, "Kısayollar oluşturuluyor..."},
    {kPageInstalling, 6, "Kayıt defteri güncelleştiriliyor..."},
    {kPageInstalling, 7, "Ayar dosyaları güncelleştiriliyor..."},
    {kPageInstalling, 8, "Dosya türleri kaydediliyor..."},
    {kPageInstalling, 13, "Yükleme tamamlanıyor..."},

    {kPageFinish, 0, "%ProductName% Kurulumu"},
    {kPageFinish, 1, "Kurulum Tamamlandı"},
    {kPageFinish, 2, "Kurulum, %ProductName% uygulamasının yüklenmesini tamamladı."},
    {kPageFinish, 3,
     "%ProductName% uygulamasını artık kullanabilirsiniz. Kurulumu kapatmak için Son'a tıklayın."},
    {kPageFinish, 4, "Belgeleri &aç"},
    {kPageFinish, 5, "%ProductName% uygulamasını şimdi &başlat"},
    {kPageFinish, 6, "Bilgisayarı şimdi &yeniden başlat"},
    {kPageFinish, 7,
     "Bazı bileşenler yüklenemedi. Sorunlar, kurulum sırasında gösterilen iletilerde "
     "açıklanmıştır."},
    {kPageFinish, 8,
     "Yüklemeyi tamamlamak için Windows yeniden başlatılmalıdır. Şimdi yeniden başlatın veya "
     "daha sonra başlatmak için aşağıdaki kutunun işaretini kaldırın."},
    {kPageFinish, 9,
     "Bazı dosyalar kullanımdaydı. Kurulum bunları bilgisayar yeniden başladığında değiştirecek."},
    {kPageFinish, 10, "Yüklemeyi tamamlamak için bilgisayarın yeniden başlatılması gerekiyor."},

    {kUn, 0, "%s Kaldırma"},
    {kUn, 1, "Uygulamayı Kaldırma"},
    {kUn, 2, "%s bilgisayarınızdan kaldırılırken lütfen bekleyin."},
    {kUn, 3, "%s uygulamasını tamamen kaldırmak istediğinizden emin misiniz?"},
    {kUn, 4, "Kaldırma Tamamlandı"},
    {kUn, 5, "%s bilgisayarınızdan başarıyla kaldırıldı."},
    {kUn, 6, "%s bilgisayarınızdan kaldırıldı, ancak bazı öğeleri kaldırılamadı."},
    {kUn, 7,
     "Kaldırma işlemi tamamlanmadı.\nŞimdi çıkarsanız program düzgün şekilde "
     "kaldırılmayacak.\n\nÇıkmak istediğinizden emin misiniz?"},
    {kUn, 8, "Son"},
    {kUn, 10, "İptal"},
    {kUn, 11,
     "Bazı klasörler, bu yükleme tarafından oluşturulmamış ve otomatik olarak silinemeyen "
     "dosyalar içeriyor. Silmek istediğiniz her dosyanın veya klasörün yanındaki onay kutusunu "
     "işaretleyin, sonra 'Sil' düğmesine tıklayın."},
    {kUn, 12, "&Tümünü seç"},
    {kUn, 13, "&Sil"},
    {kUn, 14, "Seçilen tüm dosya ve klasörleri silmek istediğinizden emin misiniz?"},
    {kUn, 15, "İşlemi Onaylayın"},
    {kUn, 16, "Dosyalar siliniyor..."},
    {kUn, 17, "Başlat menüsü kısayolları siliniyor..."},
    {kUn, 18, "Kayıt defteri girdileri siliniyor..."},
    {kUn, 19, "Programlar başlatılıyor..."},
    {kUn, 20, "Kayıt defteri anahtarları siliniyor..."},
    {kUn, 21, "DLL işlevleri çağrılıyor..."},
    {kUn, 22, "Paylaşılan dosyalar siliniyor..."},
    {kUn, 23, "Kayıt Defteri Değerini Silme"},
    {kUn, 24, "'%s' kayıt defteri değeri '%s' anahtarında silinirken hata oluştu.\n%s"},
    {kUn, 25, "Kayıt Defteri Anahtarını Silme"},
    {kUn, 26, "'%s' kayıt defteri anahtarı silinirken hata oluştu.\n%s"},
    {kUn, 27, "Kaldırma Adımı"},
    {kUn, 28, "Kaldırma işleminin bu adımı başarısız oldu:\n%s\n\nKaldırma işlemi devam ediyor."},
    {kUn, 29, "Dosyayı Silme"},
    {kUn, 30,
     "%s dosyası\nşu anda başka bir uygulama tarafından kullanılıyor.\nKaldırma işleminin sonunda "
     "bilgisayarı yeniden başlatmak yerine\ndosyayı silmeyi yeniden denemek ister misiniz?"},
    {kUn, 31, "Paylaşılan Dosya Algılandı"},
    {kUn, 32,
     "Sisteme göre aşağıdaki paylaşılan dosya artık hiçbir program tarafından kullanılmıyor. Bu "
     "dosyayı kullanan programlar hâlâ varsa ve dosya kaldırılırsa, bu programlar çalışmayabilir. "
     "Paylaşılan dosyayı kaldırmak istediğinizden emin misiniz?\n\nDosya adı: "},
    {kUn, 33, "\nKonum: "},
    {kUn, 34,
     "\n\nBu dosyayı bırakmak sisteminize zarar vermez. Ne yapacağınızdan emin değilseniz, bu "
     "paylaşılan bileşeni kaldırmamanız önerilir."},
    {kUn, 35,
     "Sisteme göre artık kullanılmayan tüm paylaşılan bileşenleri kaldırmayı\nseçtiniz. Bu "
     "dosyalardan herhangi birine hâlâ ihtiyaç duyan programlar\nçalışmayabilir. Devam etmek "
     "istediğinizden emin misiniz?"},
    {kUn, 36,
     "Bu programlar, kaldırılması gereken dosyaları kullanıyor:\n\n%s\n\n"
     "Bu programları şimdi kapatmak istiyor musunuz?\nHayır'a tıklarsanız programlar çalışmaya "
     "devam eder ve dosyaları bilgisayar yeniden başladığında kaldırılır."},
    {kUn, 37, "&Evet"},
    {kUn, 38, "&Tümüne Evet"},
    {kUn, 39, "&Hayır"},
    {kUn, 40,
     "Kaldırma işlemini tamamlamak için bilgisayarınız yeniden başlatılmalıdır.\nBazı dosyalar "
     "kullanımda ve yalnızca sistem yeniden başlatılırken silinebilir.\n\n"
     "Sistem şimdi yeniden başlatılsın mı?"},
    {kUn, 41,
     "Bilgisayar yeniden başlatılamadı.\n\n"
     "Kaldırma işlemini tamamlamak için lütfen bilgisayarı kendiniz yeniden başlatın."},

    {kPageFilesInUse, 0, "%ProductName% Kurulumu"},
    {kPageFilesInUse, 1, "Kullanımdaki Programlar"},
    {kPageFilesInUse, 2,
     "Çalışan programlar, Kurulumun değiştirmesi gereken dosyaları kullanıyor."},
    {kPageFilesInUse, 3,
     "Kurulum bu programları şimdi kapatıp yükleme bittiğinde yeniden başlatabilir:"},
    {kPageFilesInUse, 4, "Programları &otomatik olarak kapat ve yeniden başlat"},
    {kPageFilesInUse, 5, "Programları &kapatma (yeniden başlatma gerekecek)"},

    {kSetup, 0,
     "Kurulum tamamlanmadı. Şimdi çıkarsanız program yüklenmeyecek.\n\n"
     "Kurulumdan çıkmak istiyor musunuz?"},
    {kSetup, 1,
     "Yapılandırmayı tamamlamak için bilgisayarınız yeniden başlatılmalıdır.\n\n"
     "Şimdi yeniden başlatmak istiyor musunuz?"},
    {kSetup, 2,
     "Yükleme klasörü geçerli değil.\n\n"
     "Lütfen sürücüsü de dahil olmak üzere bir klasörün tam yolunu girin."},
    {kSetup, 3,
     "Hedef klasör geçerli değil.\n\n"
     "Lütfen sürücüsü de dahil olmak üzere bir klasörün tam yolunu girin."},
    {kSetup, 4, "Dosyaların ayıklanmasını durdurmak istiyor musunuz?"},
    {kSetup, 5,
     "Kurulumun değiştirmesi gereken bazı dosyalar kullanımdaydı. Bu dosyalar bilgisayarınız "
     "yeniden başladığında değiştirilecek.\n\nŞimdi yeniden başlatmak istiyor musunuz?"},
    {kSetup, 6,
     "Aşağıdaki dosya başka bir program tarafından kullanılıyor:\n%s\n\n"
     "Yeniden denemek istiyor musunuz? Önce o programı kapatın, sonra Evet'e tıklayın.\n"
     "Hayır'a tıklarsanız dosya, bilgisayarınız yeniden başladığında değiştirilecek."},
    {kSetup, 7,
     "Aşağıdaki dosya başka bir program tarafından kullanılıyor ve değiştirilemiyor:\n%s"},
    {kSetup, 8,
     "Kurulum, programı yüklemeye devam ediyor.\n"
     "İşlem bitmeden çıkarsanız, o ana kadar yüklenen her şey kaldırılır.\n\n"
     "Kurulumdan çıkmak istiyor musunuz?"},
    {kSetup, 9,
     "Kurulum tamamlandı, ancak programın bazı bileşenleri yüklenemedi.\n"
     "Sorunlar, yükleme sırasında gösterilen iletilerde açıklanmıştır."},
    {kSetup, 10, "%s uygulamasını kullanmadan önce lütfen bilgisayarınızı yeniden başlatın."},
    {kSetup, 11,
     "Bu programı yüklemek için yönetici haklarına sahip olmanız gerekir.\n\n"
     "Lütfen yönetici olarak oturum açın ve Kurulumu yeniden çalıştırın."},
    {kSetup, 12,
     "Bu program Windows NT, Windows 2000, Windows XP veya daha sonraki bir Windows sürümünü "
     "gerektirir."},
    {kSetup, 13,
     "Bu program %s veya daha sonraki bir sürümü gerektirir.\n\nKurulum devam edemiyor."},
    {kSetup, 14, "Bu program Windows'un 64 bit sürümünü gerektirir."},
    {kSetup, 15, "Bu program Windows'un ARM64 sürümünü gerektirir."},
    {kSetup, 16,
     "Bu programlar, Kurulumun değiştirmesi gereken dosyaları kullanıyor:\n\n%s\n\n"
     "Kurulumun bu programları kapatıp daha sonra yeniden başlatmasını istiyor musunuz?\n"
     "Hayır'a tıklarsanız programlar çalışmaya devam eder ve yüklemeyi tamamlamak için "
     "bilgisayarın yeniden başlatılması gerekir."},
    {kSetup, 17,
     "Bu bilgisayarda %s uygulamasının daha yeni bir sürümü zaten yüklü (sürüm %s).\n\n"
     "Kurulum, daha eski olan %s sürümünü bunun üzerine yükleyemez. Bu sürümü kullanmak için "
     "önce yeni sürümü kaldırın."},

    {kError, 0,
     "Kurulum, yükleme için gereken pencereyi oluşturamadı.\n\nKurulum şimdi kapanacak."},
    {kError, 1,
     "Kurulum bu dosyayı okumaya çalışırken erişim reddedildi:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 2,
     "Bu dosyayı değiştirme izniniz yok:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 3,
     "Kurulum bu dosyayı açmaya çalışırken erişim reddedildi:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 4,
     "Kurulum bu dosyayı okumak için açamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 5,
     "Kurulum bu dosyayı değiştirmek için açamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 6,
     "Kurulum bu dosyayı açamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 7,
     "Kurulum bu dosyayı oluşturmaya çalışırken erişim reddedildi:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 8,
     "Kurulum\n%s\ndosyasını oluşturamadı, çünkü şu klasöre dosya ekleme izniniz yok:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 9,
     "Kurulum bu dosyayı oluşturup açmaya çalışırken erişim reddedildi:\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 10,
     "Kurulum bu dosyayı okumak için oluşturamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 11,
     "Kurulum bu dosyayı oluşturamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 12,
     "Kurulum bu dosyayı oluşturup açamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 13,
     "Aşağıdaki dosya kullanımda. Kurulum, bilgisayarınız yeniden başladığında bu dosyayı\n"
     "değiştirmek için gereken geçici dosyayı oluşturamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 14,
     "Diskte bu dosyayı yazmak için yeterli alan yok:\n%s\n\n"
     "Biraz disk alanı boşaltın, sonra yeniden denemek için Tamam'a tıklayın.\n"
     "Kurulumu durdurmak ve o ana kadar yüklenenleri kaldırmak için İptal'e tıklayın."},
    {kError, 15,
     "Kurulum bu dosyaya yazamadı:\n%s\n\n%s\n\n"
     "Bu dosyayı atlayıp devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 16, "Kurulum bu dosyayı okuyamadı:\n%s"},
    {kError, 17, "Kurulum bu dosyayı taşıyamadı:\n%s"},
    {kError, 18, "Kurulum bu dosyanın özniteliklerini okuyamadı:\n%s"},
    {kError, 19, "Kurulum bu dosyanın özniteliklerini ayarlayamadı:\n%s"},
    {kError, 20, "Kurulum bu dosyanın boyutunu belirleyemedi:\n%s"},
    {kError, 21,
     "Kurulum bu klasörü oluşturamadı:\n%s\n\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 22, "Kurulum bu dosyayı belleğe yükleyemedi:\n%s"},
    {kError, 23, "Kurulum bu dosyanın içeriğini belleğe okuyamadı:\n%s"},
    {kError, 24,
     "Kurulum bu kayıt defteri anahtarını oluşturamadı:\n%s\n\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 25,
     "Kurulum \"%s\" kayıt defteri değerini şu anahtara yazamadı:\n%s\n\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 26,
     "Kurulumun kayıt defterinde yapması gereken değişiklikler için izniniz yok.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 27,
     "Kurulum bu kısayolu oluşturamadı:\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 28,
     "\nBu bileşen kaydedilemedi, bu nedenle bazı özellikler çalışmayabilir.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 29,
     "Kurulum bilgisayarınızı yeniden başlatamadı.\n\n"
     "Yüklemeyi tamamlamak için lütfen bilgisayarı kendiniz yeniden başlatın."},
    {kError, 30,
     "Kurulum %s dosya türünü kaydedemedi.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 31, "Hedef klasörün bulunduğu sürücü mevcut değil.\n\nLütfen başka bir klasör seçin."},
    {kError, 32, "Hedef klasörde dosya oluşturma izniniz yok.\n\nLütfen başka bir klasör seçin."},
    {kError, 33,
     "Şu konumda klasör oluşturma izniniz yok:\n%s\n\nLütfen başka bir hedef klasör seçin."},
    {kError, 34,
     "Hedef klasörün sürücüsünü kullanma izniniz yok.\n\nLütfen başka bir klasör seçin."},
    {kError, 35,
     "Kurulum\n%s\nklasörünü oluşturamadı, çünkü şu konumda klasör oluşturma izniniz yok:\n"
     "%s\n\nYüklemeye yine de devam etmek istiyor musunuz?\n"
     "Hayır'a tıklarsanız Kurulum durur ve o ana kadar yüklediklerini kaldırır."},
    {kError, 36,
     "Kurulum\n%s\nklasörünü oluşturamadı, çünkü\n%s\nklasörüne erişim reddedildi.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 37,
     "Kurulum\n%s\nklasörünü oluşturamadı, çünkü sürücüye erişim reddedildi.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 38,
     "Kurulum\n%s\nklasörünü oluşturamadı, çünkü bu sürücüde klasör oluşturma izniniz yok.\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 39,
     "Hedef sürücüde yeterli boş alan yok.\n\n"
     "Lütfen biraz alan boşaltın veya başka bir klasör seçin."},
    {kError, 40,
     "Kurulum bu program dosyasını çalıştıramadı:\n%s\n\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},
    {kError, 41,
     "Bu program dosyası, başarısız olduğunu bildiren bir çıkış koduyla sonlandı:\n%s\n\n"
     "Çıkış kodu: %s\n\nYüklemeye yine de devam etmek istiyor musunuz?\n"
     "Hayır'a tıklarsanız Kurulum durur ve o ana kadar yüklediklerini kaldırır."},
    {kError, 42,
     "Kurulum %s işlevini şu dosyada çağıramadı:\n%s\n\n%s\n\n"
     "Yüklemeye yine de devam etmek istiyor musunuz?\nHayır'a tıklarsanız Kurulum durur ve o "
     "ana kadar yüklediklerini kaldırır."},

    {kButton, 0, "< &Geri"},
    {kButton, 1, "İ&leri >"},
    {kButton, 2, "İptal"},
    {kButton, 3, "&Yükle"},
    {kButton, 4, "Çı&kış"},
    {kButton, 5, "&Evet"},
    {kButton, 6, "&Hayır"},
    {kButton, 7, "Gö&zat..."},
    {kButton, 8, "&Son"},
    {kButton, 9, "&Ayıkla"},
    {kButton, 10, "Tamam"},
};

}  // namespace

std::span<const BuiltinText> turkishTexts() {
    return kTexts;
}

}  // namespace kelvara::build
