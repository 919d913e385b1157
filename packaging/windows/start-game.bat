@echo off
rem Lerva: a game against three computer players on this computer.
rem Starts the game server on 127.0.0.1 (port 113) with three computer players
rem and the web table on port 8113, then the client; when the client closes,
rem the server is stopped again.
cd /d "%~dp0"
start "Lerva server" /min lerva-server.exe --bind 127.0.0.1 --bots 3 --web-port 8113
echo The table in a browser: http://127.0.0.1:8113/
rem Give the server a moment to open its port.
ping -n 2 127.0.0.1 >nul
start "" /wait lerva.exe
taskkill /fi "WINDOWTITLE eq Lerva server*" /im lerva-server.exe >nul 2>&1
