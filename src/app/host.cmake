# the tessarine.exe host target
