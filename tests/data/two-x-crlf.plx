title:Stripper profile
indeplab:Tray
numpoints:3
numindep:2
numdep:2
values:
1 2 3
10 20 30
5 6 7
50 60 70
