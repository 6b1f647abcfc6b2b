// Ids of Veltrask's string table, shared by veltrask.rc and the code that loads the texts.
#ifndef UNINSTALLER_STRING_IDS_H
#define UNINSTALLER_STRING_IDS_H

#define IDS_BOX_TITLE 1
#define IDS_UNINSTALL_CANCELLED 2
#define IDS_BAD_COMMAND_LINE 3
#define IDS_CONFIRM_UNINSTALL 4
#define IDS_ASK_RESTART 5
#define IDS_PRINT_MANAGER_TITLE 6
#define IDS_PRODUCT_INI 8
#define IDS_DRIVER_NAME 9
#define IDS_BACKUP_NAME 12
#define IDS_PRINT_MANAGER_RUNNING 13
#define IDS_DRIVER_KEY 16

#endif
