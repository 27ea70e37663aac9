! Baseline for the TOPOND conversion benchmark: a TOPOND grid read and written as a cube file
! with formatted Fortran I/O, the way a straightforward Fortran converter does it.
!   topond_baseline make DIR [N]      writes DIR/gf_topond.dat (N x N x N, default 200)
!   topond_baseline convert DIR       reads DIR/gf_topond.dat, writes DIR/gf_topond.cube
! Prints the operation's wall-clock seconds and its processor seconds.
program topond_baseline
  implicit none
  character(len=32) :: op, arg
  character(len=512) :: dir
  character(len=60) :: title
  character(len=10) :: short
  real(8), allocatable :: grid(:,:,:)
  real(4) :: origin(3), axes(3,3), atoms(4,2)
  integer :: n, n1, n2, n3, i1, i2, i3, k, q, nums(2)
  integer(8) :: t0, t1, rate
  real(8) :: c0, c1, cl

  call get_command_argument(1, op)
  call get_command_argument(2, dir)
  n = 200
  if (command_argument_count() >= 3) then
    call get_command_argument(3, arg)
    read(arg, *) n
  end if
  call system_clock(t0, rate)
  call cpu_time(c0)
  select case (trim(op))
  case ('make')
    allocate(grid(n,n,n))
    do i3 = 1, n
      do i2 = 1, n
        do i1 = 1, n
          grid(i1,i2,i3) = exp(-0.002d0*((i1-100)**2 + (i2-90)**2 + (i3-110)**2)) * &
                           10.0d0**(mod(i1+i2+i3, 7) - 3)
        end do
      end do
    end do
    open(210, file=trim(dir)//'/gf_topond.dat')
    write(210,'(3I4)') n, n, n
    do k = 1, 3
      write(210,'(E15.8,17X,E15.8)') -5.0, 0.1
    end do
    q = n / 8
    write(short, '(A1,I1,A6)') '(', n - 8*q, 'E16.8)'
    do i3 = 1, n
      do i2 = 1, n
        do k = 1, q
          write(210,'(8E16.8)') grid(8*k-7:8*k,i2,i3)
        end do
        if (n - 8*q > 0) write(210,short) grid(8*q+1:n,i2,i3)
      end do
    end do
    close(210)
  case ('convert')
    ! The atom list as the job builds it from its CRYSTAL output: Na at the origin and Cl at
    ! the centre of a cubic cell of 5.6 angstrom.
    nums = (/ 11, 17 /)
    cl = real(0.5 * 5.6, 8) / 0.5291771292686462d0
    atoms = reshape((/ 11.0, 0.0, 0.0, 0.0, 17.0, real(cl,4), real(cl,4), real(cl,4) /), (/4,2/))
    axes = 0.0
    open(210, file=trim(dir)//'/gf_topond.dat', status='old')
    open(215, file=trim(dir)//'/gf_topond.cube')
    read(210,'(3I4)') n1, n2, n3
    do k = 1, 3
      read(210,'(E15.8,17X,E15.8)') origin(k), axes(k,k)
    end do
    allocate(grid(n1,n2,n3))
    q = n1 / 8
    write(short, '(A1,I1,A6)') '(', n1 - 8*q, 'E16.8)'
    do i3 = 1, n3
      do i2 = 1, n2
        do k = 1, q
          read(210,'(8E16.8)') grid(8*k-7:8*k,i2,i3)
        end do
        if (n1 - 8*q > 0) read(210,short) grid(8*q+1:n1,i2,i3)
      end do
    end do
    title = ' '
    write(215,'(A60)') title
    write(215,'(A60)') title
    write(215,'(I5,3F12.6)') 2, origin
    write(215,'(I5,4F12.6)') n1, axes(1,:)
    write(215,'(I5,4F12.6)') n2, axes(2,:)
    write(215,'(I5,4F12.6)') n3, axes(3,:)
    do k = 1, 2
      write(215,'(I5,4F12.6)') nums(k), atoms(:,k)
    end do
    q = n3 / 6
    write(short, '(A1,I1,A7)') '(', n3 - 6*q, 'ES13.5)'
    do i1 = 1, n1
      do i2 = 1, n2
        do k = 1, q
          write(215,'(6ES13.5)') grid(i1,i2,6*k-5:6*k)
        end do
        if (n3 - 6*q > 0) write(215,short) grid(i1,i2,6*q+1:n3)
      end do
    end do
    close(215)
    n = n1
  case default
    write(*,*) 'unknown operation ', trim(op)
    stop 1
  end select
  call system_clock(t1)
  call cpu_time(c1)
  write(*,'(A,A,I0,A,F8.3,A,F8.3)') trim(op), ' points=', int(n,8)**3, ' seconds=', &
       real(t1 - t0, 8) / real(rate, 8), ' cpu=', c1 - c0
end program topond_baseline
