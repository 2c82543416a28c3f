// The web edition: the page is built when the module starts, and then lives on its events;
// main returns and the runtime stays.
#include "web/page.h"

int main() {
    numora::web::CurrentPage().Build();
    return 0;
}
